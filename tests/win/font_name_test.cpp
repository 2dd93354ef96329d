// The title font's face name between the system's wide LOGFONT and the
// game's UTF-8 one: every name Windows allows (up to 31 UTF-16 units) comes
// back unchanged, CJK and characters beyond the BMP included.
#include "framework/gdi_surface.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct FaceName {
    const char* name;
    std::wstring face;
};

void PrintTo(const FaceName& c, std::ostream* os)
{
    *os << c.name;
}

class FaceNameRoundTrip : public ::testing::TestWithParam<FaceName> {};

TEST_P(FaceNameRoundTrip, ComesBackWhole)
{
    const FaceName& c = GetParam();
    ASSERT_LE(c.face.size(), static_cast<size_t>(LF_FACESIZE - 1));
    LOGFONTW chosen{};
    chosen.lfHeight = -35;
    chosen.lfWeight = FW_BOLD;
    chosen.lfItalic = TRUE;
    chosen.lfCharSet = CHINESEBIG5_CHARSET;
    c.face.copy(chosen.lfFaceName, c.face.size());

    const surface::LOGFONT game = FromSystemFont(chosen);
    const LOGFONTW back = ToSystemFont(game);

    EXPECT_EQ(std::wstring(back.lfFaceName), c.face);
    EXPECT_EQ(back.lfHeight, -35);
    EXPECT_EQ(back.lfWeight, FW_BOLD);
    EXPECT_EQ(back.lfItalic, TRUE);
    EXPECT_EQ(back.lfCharSet, CHINESEBIG5_CHARSET);
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, FaceNameRoundTrip,
    ::testing::Values(FaceName{"Ascii31", std::wstring(31, L'T')},
                      FaceName{"Cjk31", std::wstring(31, L'\x6A19')},  // 標, three bytes of UTF-8 each
                      FaceName{"Cjk10", L"華康中黑體華康中黑體"},
                      FaceName{"MixedCjkAndLatin", L"新細明體 PMingLiU-ExtB 標楷體 DFKai-SB"},
                      // Fifteen characters beyond the BMP, two units each, and one more unit.
                      FaceName{"SurrogatePairs",
                               [] {
                                   std::wstring face;
                                   for (int i = 0; i < 15; ++i)
                                       face += L"\xD840\xDC0B";  // U+2000B
                                   return face + L"A";
                               }()}),
    [](const ::testing::TestParamInfo<FaceName>& param) { return std::string(param.param.name); });

}  // namespace
