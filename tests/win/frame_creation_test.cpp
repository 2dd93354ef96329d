// A frame whose window cannot be made is deleted exactly once, whichever
// step of the creation fails: the application that made it on the free
// store never deletes it itself.
#include "framework/frame.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

enum class FailAt { PreCreateWindow, UnknownClass, OnCreate };

class FailingFrame : public CFrameWnd {
public:
    FailingFrame(FailAt failAt, int* deletions) : m_failAt(failAt), m_deletions(deletions) {}
    ~FailingFrame() override { ++*m_deletions; }

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override
    {
        if (m_failAt == FailAt::PreCreateWindow || !CFrameWnd::PreCreateWindow(cs))
            return FALSE;
        // The system refuses the window before its first message.
        if (m_failAt == FailAt::UnknownClass)
            cs.lpszClass = L"BrikfallNoSuchClass";
        return TRUE;
    }

protected:
    int OnCreate(LPCREATESTRUCTW lpCreateStruct) override
    {
        return m_failAt == FailAt::OnCreate ? -1 : CFrameWnd::OnCreate(lpCreateStruct);
    }

private:
    FailAt m_failAt;
    int* m_deletions;
};

struct FailureCase {
    const char* name;
    FailAt failAt;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class FrameCreationFails : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FrameCreationFails, DeletesTheFrameOnce)
{
    int deletions = 0;
    auto* frame = new FailingFrame(GetParam().failAt, &deletions);
    EXPECT_FALSE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr));
    EXPECT_EQ(deletions, 1);
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameCreationFails,
                         ::testing::Values(FailureCase{"PreCreateWindow", FailAt::PreCreateWindow},
                                           FailureCase{"UnknownClass", FailAt::UnknownClass},
                                           FailureCase{"OnCreate", FailAt::OnCreate}),
                         [](const ::testing::TestParamInfo<FailureCase>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
