// The font dialog, opened and cancelled again and again, leaves no GDI
// object behind.
#include "framework/fontdlg.h"

#include <gtest/gtest.h>
#include <winternl.h>

#include <cstring>

#include "dialog_driver.h"

namespace {

constexpr int kFaceNameBox = 1136;

// Live GDI objects of this process. Under Wine GetGuiResources answers 0;
// Wine's handle table then tells: the PEB points to it at 0xF8, and each of
// its 0x10000 entries of 24 bytes has a non-zero type at byte 14 while live.
size_t LiveGdiObjects()
{
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return count;
    PROCESS_BASIC_INFORMATION info{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info,
                                  nullptr) != 0)
        return 0;
    const unsigned char* table = nullptr;
    std::memcpy(&table, reinterpret_cast<const unsigned char*>(info.PebBaseAddress) + 0xF8, sizeof table);
    size_t count = 0;
    for (size_t i = 0; table != nullptr && i < 0x10000; ++i)
        count += table[i * 24 + 14] != 0 ? 1 : 0;
    return count;
}

void OpenAndCancel()
{
    surface::LOGFONT lf{};
    lf.lfHeight = -35;
    std::strcpy(lf.lfFaceName, "Tahoma");
    CFontDialog dialog(&lf);
    DialogDriver driver(
        {{"font dialog opens", [] { return FindThreadDialogWithControl(kFaceNameBox) != nullptr; }},
         {"cancel", [] {
              PostMessageW(FindThreadDialogWithControl(kFaceNameBox), WM_COMMAND, IDCANCEL, 0);
              return true;
          }}});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(driver.stuckAt(), "");
}

// The count itself first: k brushes made move it by k, and deleting them
// brings it back, or a leak would pass unseen.
TEST(FontDialog, GdiObjectCountFollowsObjectsMadeAndDeleted)
{
    constexpr size_t kMade = 5;
    const size_t before = LiveGdiObjects();
    HBRUSH brushes[kMade] = {};
    for (size_t i = 0; i < kMade; ++i)
        brushes[i] = CreateSolidBrush(RGB(i, 2 * i, 3 * i));
    const size_t during = LiveGdiObjects();
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    EXPECT_EQ(during, before + kMade);
    EXPECT_EQ(LiveGdiObjects(), before);
}

TEST(FontDialog, LeavesNoGdiObjectsBehind)
{
    // The first run loads what every later one shares.
    OpenAndCancel();
    OpenAndCancel();
    const size_t before = LiveGdiObjects();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 4; ++i)
        OpenAndCancel();
    EXPECT_EQ(LiveGdiObjects(), before);
}

}  // namespace
