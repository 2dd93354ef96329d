// The test surface itself: pixel-exact rectangles and lines, object
// selection, text recording and the PNG encoder.
#include <cstring>
#include <fstream>
#include <memory>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "png.h"
#include "raster_surface.h"

namespace {

constexpr surface::COLORREF kWhite = surface::Rgb(255, 255, 255);
constexpr surface::COLORREF kBlack = surface::Rgb(0, 0, 0);
constexpr surface::COLORREF kRed = surface::Rgb(255, 0, 0);
constexpr surface::COLORREF kGreen = surface::Rgb(0, 255, 0);

TEST(RasterSurface, RectangleCoversUpToButNotIncludingItsFarCorner)
{
    RasterSurface dc(40, 40);
    surface::CPen pen(surface::kPenSolid, 1, kRed);
    surface::CBrush brush(kGreen);
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.Rectangle(10, 10, 20, 15);
    EXPECT_EQ(dc.pixel(10, 10), kRed);
    EXPECT_EQ(dc.pixel(19, 14), kRed);
    EXPECT_EQ(dc.pixel(15, 12), kGreen);
    EXPECT_EQ(dc.pixel(20, 12), kWhite);
    EXPECT_EQ(dc.pixel(15, 15), kWhite);
    EXPECT_EQ(dc.pixel(9, 12), kWhite);
}

TEST(RasterSurface, WideInsideFramePenStaysInsideTheRectangle)
{
    RasterSurface dc(40, 40);
    surface::CPen pen(surface::kPenInsideFrame, 3, kRed);
    surface::CBrush brush(kGreen);
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.Rectangle(10, 10, 20, 20);
    EXPECT_TRUE(dc.canvas().allOf(10, 10, 20, 13, kRed));
    EXPECT_TRUE(dc.canvas().allOf(17, 10, 20, 20, kRed));
    EXPECT_TRUE(dc.canvas().allOf(13, 13, 17, 17, kGreen));
    EXPECT_EQ(dc.pixel(20, 15), kWhite);
    EXPECT_EQ(dc.pixel(9, 15), kWhite);
}

TEST(RasterSurface, LinesLeaveOutTheirEndPoint)
{
    RasterSurface dc(40, 40);
    dc.MoveTo(5, 5);
    dc.LineTo(15, 5);
    dc.LineTo(15, 9);
    dc.LineTo(19, 13);
    EXPECT_TRUE(dc.canvas().allOf(5, 5, 15, 6, kBlack));
    EXPECT_TRUE(dc.canvas().allOf(15, 5, 16, 9, kBlack));
    EXPECT_EQ(dc.pixel(16, 10), kBlack);
    EXPECT_EQ(dc.pixel(18, 12), kBlack);
    EXPECT_EQ(dc.pixel(19, 13), kWhite);
    EXPECT_EQ(dc.pixel(4, 5), kWhite);
}

TEST(RasterSurface, DrawingOutsideThePictureIsClipped)
{
    RasterSurface dc(10, 10);
    dc.Rectangle(-100, -100, 1000, 1000);
    dc.MoveTo(-50, 5);
    dc.LineTo(500, 5);
    EXPECT_EQ(dc.pixel(5, 5), kBlack);
    EXPECT_EQ(dc.pixel(10, 5), 0xFFFFFFFFU);
}

// A picture that keeps only every n-th point shows at each of them what the
// full picture shows there, and nothing elsewhere: rectangles, wide frames,
// lines in every direction (level and upright ones take a shortcut), text
// and clipping, drawn in the same order on both.
TEST(RasterSurface, SampledPictureAgreesWithTheFullOneAtItsPoints)
{
    struct Sampling {
        int step;
        int offset;
    };
    for (Sampling sampling : {Sampling{1, 0}, Sampling{3, 1}, Sampling{7, 3}, Sampling{20, 10}}) {
        SCOPED_TRACE("every " + std::to_string(sampling.step) + " from " + std::to_string(sampling.offset));
        auto sampled = std::make_shared<Canvas>(97, 83);
        sampled->keepEvery(sampling.step, sampling.offset);
        RasterSurface full(97, 83);
        RasterSurface part(sampled);
        surface::CPen thin(surface::kPenSolid, 1, kRed);
        surface::CPen wide(surface::kPenInsideFrame, 4, kBlack);
        surface::CBrush brush(kGreen);
        for (RasterSurface* dc : {&full, &part}) {
            dc->SelectObject(&brush);
            dc->SelectObject(&wide);
            dc->Rectangle(5, 6, 60, 50);
            dc->Rectangle(-10, 70, 120, 90);
            dc->SelectObject(&thin);
            dc->Rectangle(30, 20, 31, 80);
            const int lines[][4] = {{0, 3, 96, 3},  {90, 10, 2, 10}, {40, 0, 40, 82}, {44, 82, 44, 0},
                                    {0, 0, 96, 82}, {96, 0, 3, 60},  {10, 80, 70, 5}, {-5, 40, 200, 40}};
            for (const auto& line : lines) {
                dc->MoveTo(line[0], line[1]);
                dc->LineTo(line[2], line[3]);
            }
            dc->TextOutUtf8(8, 55, "ab c");
        }
        int kept = 0;
        for (int y = 0; y < 83; ++y) {
            for (int x = 0; x < 97; ++x) {
                const bool onPoint =
                    x % sampling.step == sampling.offset && y % sampling.step == sampling.offset;
                kept += onPoint;
                ASSERT_EQ(part.pixel(x, y), onPoint ? full.pixel(x, y) : 0xFFFFFFFFU)
                    << "at " << x << ", " << y;
            }
        }
        EXPECT_GT(kept, 0);
    }
}

TEST(RasterSurface, SelectObjectReturnsWhatItReplaced)
{
    RasterSurface dc;
    surface::CPen pen(surface::kPenSolid, 1, kRed);
    surface::CFont font;
    surface::CPen* defaultPen = dc.SelectObject(&pen);
    ASSERT_NE(defaultPen, nullptr);
    EXPECT_EQ(defaultPen->color(), kBlack);
    EXPECT_EQ(dc.SelectObject(defaultPen), &pen);
    surface::CFont* defaultFont = dc.SelectObject(&font);
    EXPECT_FALSE(defaultFont->created());
    dc.SelectObject(defaultFont);
    EXPECT_TRUE(dc.holdsDefaultObjects());
    EXPECT_EQ(dc.GetDeviceCaps(surface::kLogPixelsY), 96);
}

TEST(RasterSurface, RecordsTextWithColourAndFont)
{
    RasterSurface dc;
    dc.TextOutUtf8(3, 4, "ab ");
    EXPECT_EQ(dc.SetTextColor(kRed), kBlack);
    surface::LOGFONT lf{};
    lf.lfHeight = 20;
    surface::CFont font;
    font.Create(lf);
    dc.SelectObject(&font);
    surface::CRect rect{0, 0, 100, 50};
    dc.DrawTextUtf8("x", rect, surface::kTextCenter | surface::kTextVCenter | surface::kTextSingleLine);

    ASSERT_EQ(dc.texts().size(), 2U);
    EXPECT_EQ(dc.texts()[0].text, "ab ");
    EXPECT_EQ(dc.texts()[0].x, 3);
    EXPECT_EQ(dc.texts()[0].colour, kBlack);
    EXPECT_FALSE(dc.texts()[0].font.has_value());
    EXPECT_TRUE(dc.texts()[1].viaDrawText);
    EXPECT_EQ(dc.texts()[1].colour, kRed);
    ASSERT_TRUE(dc.texts()[1].font.has_value());
    EXPECT_EQ(dc.texts()[1].font->lfHeight, 20);
    EXPECT_EQ(dc.texts()[1].format, 37U);
}

TEST(RasterSurface, PaintsTextWithoutRecordingItWhenThePictureKeepsNoTexts)
{
    auto canvas = std::make_shared<Canvas>(40, 20);
    canvas->recordTexts(false);
    RasterSurface dc(canvas);
    dc.TextOutUtf8(0, 0, "ab");
    surface::CRect rect{0, 0, 40, 20};
    dc.DrawTextUtf8("x", rect, 0);
    EXPECT_TRUE(dc.texts().empty());
    EXPECT_EQ(dc.pixel(4, 8), kBlack);
    EXPECT_EQ(dc.pixel(0, 8), kWhite);
}

TEST(Font, CreateOnceKeepsTheSystemObjectUntilTheFontChanges)
{
    surface::LOGFONT lf{};
    lf.lfHeight = 107;
    std::memcpy(lf.lfFaceName, "Arial", sizeof "Arial");
    surface::CFont font;
    font.CreateOnce(lf);
    ASSERT_TRUE(font.created());
    struct SystemFont : surface::NativeObject {};
    font.native() = std::make_shared<SystemFont>();  // as a surface's system font
    const std::shared_ptr<surface::NativeObject> made = font.native();

    font.CreateOnce(lf);
    EXPECT_EQ(font.native(), made) << "the same font was made again";
    lf.lfHeight = 108;
    font.CreateOnce(lf);
    EXPECT_EQ(font.native(), nullptr) << "a changed font kept the old system object";
    EXPECT_EQ(font.logFont().lfHeight, 108);
}

TEST(Font, CreateOnceKeepsAFaceNameOfThirtyOneWideCharacters)
{
    // 31 characters of three bytes each: 93 bytes, the longest name a wide
    // LOGFONT can hold.
    std::string name;
    for (int i = 0; i < 31; ++i) {
        name += "字";
    }
    surface::LOGFONT lf{};
    std::memcpy(lf.lfFaceName, name.c_str(), name.size() + 1);
    surface::CFont font;
    font.CreateOnce(lf);
    EXPECT_EQ(std::string(font.logFont().lfFaceName), name);
}

TEST(Font, LogFontsDifferInEveryFieldButNotInBytesAfterTheName)
{
    surface::LOGFONT base{};
    base.lfHeight = 107;
    std::memcpy(base.lfFaceName, "Arial", sizeof "Arial");
    using Change = void (*)(surface::LOGFONT&);
    const Change changes[] = {
        [](surface::LOGFONT& lf) { lf.lfHeight = 1; },
        [](surface::LOGFONT& lf) { lf.lfWidth = 1; },
        [](surface::LOGFONT& lf) { lf.lfEscapement = 1; },
        [](surface::LOGFONT& lf) { lf.lfOrientation = 1; },
        [](surface::LOGFONT& lf) { lf.lfWeight = 1; },
        [](surface::LOGFONT& lf) { lf.lfItalic = 1; },
        [](surface::LOGFONT& lf) { lf.lfUnderline = 1; },
        [](surface::LOGFONT& lf) { lf.lfStrikeOut = 1; },
        [](surface::LOGFONT& lf) { lf.lfCharSet = 1; },
        [](surface::LOGFONT& lf) { lf.lfOutPrecision = 1; },
        [](surface::LOGFONT& lf) { lf.lfClipPrecision = 1; },
        [](surface::LOGFONT& lf) { lf.lfQuality = 1; },
        [](surface::LOGFONT& lf) { lf.lfPitchAndFamily = 1; },
        [](surface::LOGFONT& lf) { lf.lfFaceName[4] = 'X'; },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        surface::LOGFONT changed = base;
        changes[i](changed);
        EXPECT_FALSE(changed == base) << "change " << i;
    }
    surface::LOGFONT trailing = base;
    trailing.lfFaceName[10] = 'X';  // past the terminator
    EXPECT_TRUE(trailing == base);
}

TEST(Png, ChecksumsMatchKnownValues)
{
    const std::string digits = "123456789";
    const std::string word = "Wikipedia";
    EXPECT_EQ(crc32(reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()), 0xCBF43926U);
    EXPECT_EQ(adler32(reinterpret_cast<const std::uint8_t*>(word.data()), word.size()), 0x11E60398U);
}

TEST(Png, EncodesHeaderAndEndChunk)
{
    std::vector<std::uint8_t> png = encodePng(2, 1, {255, 0, 0, 0, 0, 255});
    ASSERT_GT(png.size(), 45U);
    const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    const std::vector<std::uint8_t> header = {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 2, 0, 0, 0, 1, 8, 2};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), png.begin() + 8));
    const std::vector<std::uint8_t> end = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    EXPECT_TRUE(std::equal(end.begin(), end.end(), png.end() - 12));
    EXPECT_TRUE(encodePng(2, 2, {1, 2, 3}).empty());
}

}  // namespace
