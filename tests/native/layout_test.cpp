// The picture at other resolutions: the layout's numbers at 96, 120, 144 and
// 192 DPI, a board drawn at each of them, and nonsense resolutions refused.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "control/layout.h"
#include "control/well.h"
#include "game_fixtures.h"
#include "raster_surface.h"
#include "recording_host.h"

namespace {

using surface::COLORREF;
using surface::CRect;

constexpr COLORREF kBlack = surface::Rgb(0, 0, 0);
constexpr COLORREF kWhite = surface::Rgb(255, 255, 255);

// The layout of the program's well at a resolution, in a room.
Layout wellLayout(long long dpi, Layout::Extent room = Layout::kUnlimited)
{
    return Layout(dpi, kWell.columns, kWell.rows, kWell.originX, kWell.originY, room);
}

struct LayoutCase {
    int dpi;
    int cell;
    int line;
    CRect well;
    CRect border;
    CRect preview;
    int titleBand;
    int panelLeft;
    int firstLine;
    int lineAdvance;
    int panelText;
    int scoreX;
    int scoreY;
    int scoreFont;
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.dpi << " DPI";
}

// One row a resolution.
// clang-format off
const LayoutCase kLayouts[] = {
    {96, 24, 1, {96, 72, 408, 552}, {93, 69, 410, 554}, {0, 72, 72, 168}, 60, 456, 72, 24, 16, 516, 408, 107},
    {120, 30, 1, {120, 90, 510, 690}, {116, 86, 513, 693}, {0, 90, 90, 210}, 75, 570, 90, 30, 20, 645, 510, 133},
    {144, 36, 2, {144, 108, 612, 828}, {139, 103, 616, 832}, {0, 108, 108, 252}, 90, 684, 108, 36, 24, 774, 612, 160},
    {192, 48, 2, {192, 144, 816, 1104}, {186, 138, 821, 1109}, {0, 144, 144, 336}, 120, 912, 144, 48, 32, 1032, 816, 213},
};
// clang-format on

void expectRect(const CRect& actual, const CRect& expected, const char* what)
{
    EXPECT_EQ(actual.left, expected.left) << what;
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.right, expected.right) << what;
    EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

class LayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTable, NumbersAtTheResolution)
{
    const LayoutCase& c = GetParam();
    const Layout layout = wellLayout(c.dpi);
    EXPECT_EQ(layout.dpi(), c.dpi);
    EXPECT_EQ(layout.cellSize(), c.cell);
    EXPECT_EQ(layout.lineWidth(), c.line);
    expectRect(layout.well(), c.well, "well");
    expectRect(layout.border(), c.border, "border");
    expectRect(layout.preview(), c.preview, "preview");
    EXPECT_EQ(layout.titleBand(), c.titleBand);
    EXPECT_EQ(layout.panelLeft(), c.panelLeft);
    EXPECT_EQ(layout.panelLine(0), c.firstLine);
    EXPECT_EQ(layout.panelLine(1) - layout.panelLine(0), c.lineAdvance);
    EXPECT_EQ(layout.panelTextHeight(), c.panelText);

    const std::vector<PanelItem> items = GameBoard::statusPanelItems(layout, GameState::Ready, false, 3, 0);
    ASSERT_EQ(items.size(), 27U);
    EXPECT_EQ(items.back().x, c.scoreX);
    EXPECT_EQ(items.back().y, c.scoreY);
    EXPECT_TRUE(items.back().large);
    EXPECT_EQ(GameBoard::scoreFont(layout).lfHeight, c.scoreFont);
    // The key help's places keep their proportions: arrow, "(", key, label.
    EXPECT_EQ(items[1].x - c.panelLeft, layout.scale(36));
    EXPECT_EQ(items[2].x - c.panelLeft, layout.scale(58));
    EXPECT_EQ(items[3].x - c.panelLeft, layout.scale(64));
    EXPECT_EQ(items[4].x - c.panelLeft, layout.scale(74));
    EXPECT_EQ(items[16].x - c.panelLeft, layout.scale(86));
    EXPECT_EQ(items[18].x - c.panelLeft, layout.scale(120));
}

INSTANTIATE_TEST_SUITE_P(Resolutions, LayoutTable, ::testing::ValuesIn(kLayouts),
                         [](const auto& param) { return std::to_string(param.param.dpi) + "dpi"; });

TEST(Layout, NonsenseResolutionsAreTakenAs96)
{
    // The last would be 96 if cut to 32 bits on the way.
    for (long long dpi : {0LL, -96LL, 1LL, 23LL, 961LL, 1LL << 30, (1LL << 32) + 96}) {
        SCOPED_TRACE(dpi);
        const Layout layout = wellLayout(dpi);
        EXPECT_EQ(layout.dpi(), 96);
        EXPECT_EQ(layout.cellSize(), 24);
    }
}

// Texts measured as a font of one advance draws them: each character
// (each UTF-8 lead byte) 3/8 as wide as the font is high, the surface's own
// font 16 pixels high as the system font is at 96 DPI. Counts the texts
// measured.
struct ModelMeasure {
    explicit ModelMeasure(int surfaceDpi)
        : measure{surfaceDpi, [this](std::string_view text, const surface::LOGFONT* font) {
                      ++measured;
                      const int height = font != nullptr ? std::abs(font->lfHeight) : 16;
                      const auto characters = std::count_if(text.begin(), text.end(), [](char c) {
                          return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
                      });
                      return Layout::Extent{static_cast<int>(characters) * height * 3 / 8, height};
                  }}
    {
    }
    ModelMeasure(const ModelMeasure&) = delete;
    ModelMeasure& operator=(const ModelMeasure&) = delete;

    int measured = 0;
    Layout::TextMeasure measure;
};

// The layout of the program's well at a resolution, fitted to a room with
// the panel's texts measured on a surface at a resolution (by default the
// same).
Layout measuredLayout(int dpi, Layout::Extent room = Layout::kUnlimited, int surfaceDpi = 0)
{
    const ModelMeasure model(surfaceDpi != 0 ? surfaceDpi : dpi);
    return Layout(dpi, kWell.columns, kWell.rows, kWell.originX, kWell.originY, room, &model.measure);
}

// A screen at a resolution, and the client area the window may have there:
// the screen less the frame's caption, menu bar and edges as drawn at that
// resolution.
struct FitCase {
    const char* screen;
    int dpi;
    Layout::Extent room;
    int pictureDpi;
    int cell;
};

void PrintTo(const FitCase& c, std::ostream* os)
{
    *os << c.screen << " at " << c.dpi << " DPI";
}

const FitCase kFits[] = {
    // Too short for the picture at the display's scale.
    {"1366x768", 144, {1356, 702}, 117, 29},
    {"1280x720", 120, {1270, 662}, 113, 28},
    {"1024x600", 96, {1014, 552}, 93, 23},
    {"800x600", 96, {790, 552}, 93, 23},
    {"640x480", 96, {630, 432}, 73, 18},
    {"640x480", 192, {630, 396}, 65, 16},
    // Too narrow: a screen on its side. The panel's texts as measured, not
    // an estimate of them, decide how much the picture shrinks.
    {"600x1024", 96, {590, 976}, 81, 20},
    // Nothing changes.
    {"1920x1080", 96, {1910, 1032}, 96, 24},
    {"1366x768", 96, {1356, 720}, 96, 24},
    {"1280x1024", 96, {1270, 976}, 96, 24},
    {"1920x1080", 120, {1910, 1022}, 120, 30},
    {"1920x1080", 144, {1910, 1014}, 144, 36},
    {"2560x1440", 192, {2550, 1356}, 192, 48},
    // Smaller than 12-pixel cells allow: they stay 12 pixels.
    {"320x240", 96, {310, 192}, 48, 12},
    {"320x240", 192, {310, 156}, 48, 12},
};

class FitTable : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitTable, LargestPictureThatFitsTheRoom)
{
    const FitCase& c = GetParam();
    const Layout layout = measuredLayout(c.dpi, c.room);
    EXPECT_EQ(layout.dpi(), c.dpi) << "the display's resolution is kept";
    EXPECT_EQ(layout.pictureDpi(), c.pictureDpi);
    EXPECT_EQ(layout.cellSize(), c.cell);
    // Every length follows the picture's resolution.
    const Layout same = wellLayout(c.pictureDpi);
    EXPECT_EQ(layout.lineWidth(), same.lineWidth());
    EXPECT_EQ(layout.titleBand(), same.titleBand());
    EXPECT_EQ(layout.panelTextHeight(), same.panelTextHeight());
    EXPECT_EQ(layout.points(26), same.points(26));
    expectRect(layout.border(), same.border(), "border");

    const Layout::Extent needed = layout.clientSize();
    if (c.cell > Layout::kMinFittedCellSize) {
        EXPECT_LE(needed.cx, c.room.cx);
        EXPECT_LE(needed.cy, c.room.cy);
        EXPECT_GT(needed.cy, layout.border().bottom) << "the well's border inside the client area";
    }
    if (c.pictureDpi < c.dpi) {
        const Layout::Extent larger =
            measuredLayout(c.pictureDpi + 1, Layout::kUnlimited, c.dpi).clientSize();
        EXPECT_TRUE(larger.cx > c.room.cx || larger.cy > c.room.cy) << "a larger picture fits too";
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, FitTable, ::testing::ValuesIn(kFits), [](const auto& param) {
    return std::string(param.param.screen) + "_" + std::to_string(param.param.dpi) + "dpi";
});

// The client area reaches as far as the panel's texts do as measured: a
// measure that finds every text 1000 pixels wide and 10 high makes room for
// the rightmost item (the speed, 120 pixels into the panel) and leaves the
// height to the well.
TEST(MeasuredLayout, PanelTextsAsMeasuredDecideTheWidth)
{
    int measured = 0;
    const Layout::TextMeasure wide{96, [&measured](std::string_view text, const surface::LOGFONT*) {
                                       ++measured;
                                       EXPECT_EQ(text.find_last_not_of(' '), text.size() - 1)
                                           << "\"" << text << "\" measured with its trailing spaces";
                                       return Layout::Extent{1000, 10};
                                   }};
    const Layout layout(96, kWell.columns, kWell.rows, kWell.originX, kWell.originY, Layout::kUnlimited,
                        &wide);
    EXPECT_EQ(layout.clientSize().cx, 456 + 120 + 1000 + 8);
    EXPECT_EQ(layout.clientSize().cy, 554 + 1 + 8);
    EXPECT_LE(measured, static_cast<int>(GameBoard::everyPanelItem(layout).size()))
        << "a text measured twice";

    // Too narrow for such texts at 96 DPI: the picture shrinks until they fit.
    const Layout fitted(96, kWell.columns, kWell.rows, kWell.originX, kWell.originY, {1400, 1000}, &wide);
    EXPECT_LT(fitted.pictureDpi(), 96);
    EXPECT_LE(fitted.clientSize().cx, 1400);
    EXPECT_EQ(fitted.room().cx, 1400);
}

TEST(Layout, PanelHasAFontOfItsOwnUnlessPictureAndSurfaceAreAt96)
{
    struct Case {
        int layoutDpi;
        int surfaceDpi;
        bool ownFont;
        int height;
    };
    const Case cases[] = {{96, 96, false, 0}, {192, 192, true, 32}, {144, 96, true, 24}, {96, 192, true, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.layoutDpi) + " on a surface at " + std::to_string(c.surfaceDpi));
        surface::LOGFONT lf{};
        ASSERT_EQ(GameBoard::panelFont(wellLayout(c.layoutDpi), c.surfaceDpi, lf), c.ownFont);
        if (c.ownFont) {
            EXPECT_EQ(lf.lfHeight, c.height);
        }
    }
}

// A change of scale: the display's resolution and the rooms the window is
// given there one after the other, as a move to another monitor, a picture
// fitted to a small work area and a change of that work area bring them.
struct ScaleCase {
    const char* name;
    int dpi;
    std::vector<Layout::Extent> rooms;
};

void PrintTo(const ScaleCase& c, std::ostream* os)
{
    *os << c.name;
}

const ScaleCase kScales[] = {
    {"120", 120, {Layout::kUnlimited}},
    {"144", 144, {Layout::kUnlimited}},
    {"192", 192, {Layout::kUnlimited}},
    {"144_fitted", 144, {{1356, 702}}},
    {"144_work_area_shrunk", 144, {Layout::kUnlimited, {1356, 702}, {1270, 620}}},
};

// A board in play: settled rows, the falling shape moved, the preview on.
class ScaledBoard : public ::testing::TestWithParam<ScaleCase> {
protected:
    ScaledBoard() : board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY)
    {
        seedForKinds({1, 4});
        board.initGame();
        std::unique_ptr<RasterSurface> dc = host.clientDC();
        board.togglePreview(*dc);
        loadRows(GameBoardAccess::blocks(board), {"...0112..3...", "44301222335.5"});
        board.start(*dc);
        board.tick(*dc);
        board.moveShape(*dc, ShapeMove::Right);
        GameBoardAccess::setScore(board, 7);
    }

    // The board drawn on a picture of the size a window would need, after
    // the board took the resolution with each of the rooms in turn.
    std::unique_ptr<RasterSurface> draw(int dpi,
                                        const std::vector<Layout::Extent>& rooms = {Layout::kUnlimited})
    {
        for (const Layout::Extent& room : rooms) {
            EXPECT_TRUE(board.setDpi(dpi, room));
        }
        const Layout& layout = board.layout();
        auto picture = std::make_unique<RasterSurface>(layout.scale(840), layout.scale(600));
        board.draw(*picture);
        return picture;
    }

    RecordingHost host;
    GameBoard board;
};

// The grid, the falling shape and the next shape all follow the layout
// after every kind of change of scale: each cell lies where the layout puts
// it, with the layout's outline.
TEST_P(ScaledBoard, ShowsTheSamePictureScaled)
{
    const ScaleCase& c = GetParam();
    const std::unique_ptr<RasterSurface> basePicture = draw(96);
    const std::unique_ptr<RasterSurface> scaledPicture = draw(c.dpi, c.rooms);
    const RasterSurface& base = *basePicture;
    const RasterSurface& scaled = *scaledPicture;
    scaled.writePng(std::string(PICTURE_DIR) + "/scaled-" + c.name + ".png");
    const Layout& layout = board.layout();
    const int cell = layout.cellSize();
    const int line = layout.lineWidth();

    // Every cell of the well and the preview area, inside and outline.
    for (int row = 0; row < 24; ++row) {
        for (int column = -4; column < 13; ++column) {
            SCOPED_TRACE("cell " + std::to_string(column) + "," + std::to_string(row));
            const int x = (column + 4) * cell;
            const int y = (row + 3) * cell;
            const COLORREF inside = base.pixel((column + 4) * 24 + 12, (row + 3) * 24 + 12);
            const COLORREF outline = base.pixel((column + 4) * 24, (row + 3) * 24 + 12);
            EXPECT_EQ(scaled.pixel(x + cell / 2, y + cell / 2), inside);
            EXPECT_EQ(scaled.pixel(x + line - 1, y + cell / 2), outline);
            EXPECT_EQ(scaled.pixel(x + cell - line, y + cell / 2), outline);
            EXPECT_EQ(scaled.pixel(x + line, y + cell / 2), inside);
        }
    }

    // The border: lines of the scaled width, white between them and the well.
    const CRect border = layout.border();
    const int middle = (border.top + border.bottom) / 2;
    for (int i = 0; i < line; ++i) {
        EXPECT_EQ(scaled.pixel(border.left + i, middle), kBlack);
        EXPECT_EQ(scaled.pixel(border.right - i, middle), kBlack);
        EXPECT_EQ(scaled.pixel(300, border.top + i), kBlack);
        EXPECT_EQ(scaled.pixel(300, border.bottom - i), kBlack);
    }
    const CRect well = layout.well();
    EXPECT_TRUE(scaled.canvas().allOf(border.left + line, middle, well.left, middle + 1, kWhite));
    EXPECT_TRUE(scaled.canvas().allOf(well.right, middle, border.right - line + 1, middle + 1, kWhite));
    EXPECT_EQ(scaled.pixel(border.left - 1, middle), kWhite);
    EXPECT_EQ(scaled.pixel(border.right + 1, middle), kWhite);

    // Every text of the panel stands whole in its row, in a font that fits.
    const std::vector<TextRecord>& texts = scaled.texts();
    ASSERT_EQ(texts.size(), base.texts().size());
    for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i + 1) + " " + texts[i].text);
        EXPECT_EQ(texts[i].text, base.texts()[i].text);
        EXPECT_EQ(texts[i].x, layout.panelLeft() + layout.scale(base.texts()[i].x - 456));
        const int row = (texts[i].y - layout.panelLine(0)) / cell;
        EXPECT_EQ(texts[i].y, layout.panelLine(row));
        ASSERT_TRUE(texts[i].font.has_value());
        EXPECT_LE(texts[i].font->lfHeight, cell);
        EXPECT_GE(texts[i].font->lfHeight, layout.panelTextHeight());
    }
    // The score stays right of the well's border and above its bottom.
    const TextRecord& score = texts.back();
    EXPECT_EQ(score.text, "7");
    ASSERT_TRUE(score.font.has_value());
    EXPECT_GT(score.x, border.right);
    EXPECT_LE(score.y + score.font->lfHeight, well.bottom);
}

TEST_P(ScaledBoard, BackAt96ThePictureIsTheSameAsBefore)
{
    const std::unique_ptr<RasterSurface> beforePicture = draw(96);
    draw(GetParam().dpi, GetParam().rooms);
    const std::unique_ptr<RasterSurface> afterPicture = draw(96);
    const RasterSurface& before = *beforePicture;
    const RasterSurface& after = *afterPicture;
    ASSERT_EQ(after.canvas().width(), before.canvas().width());
    for (int y = 0; y < before.canvas().height(); ++y) {
        for (int x = 0; x < before.canvas().width(); ++x) {
            ASSERT_EQ(after.pixel(x, y), before.pixel(x, y)) << x << "," << y;
        }
    }
    ASSERT_EQ(after.texts().size(), before.texts().size());
    for (std::size_t i = 0; i < before.texts().size(); ++i) {
        EXPECT_EQ(after.texts()[i].x, before.texts()[i].x);
        EXPECT_EQ(after.texts()[i].y, before.texts()[i].y);
        EXPECT_EQ(after.texts()[i].font.has_value(), before.texts()[i].font.has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledBoard, ::testing::ValuesIn(kScales),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ScaledBoardDpi, NonsenseIsRefusedAndChangesNothing)
{
    RecordingHost host;
    GameBoard board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY);
    board.initGame();
    ASSERT_TRUE(board.setDpi(144));
    host.clear();
    for (int dpi : {0, -1, 5000}) {
        EXPECT_FALSE(board.setDpi(dpi)) << dpi;
    }
    EXPECT_EQ(board.layout().dpi(), 144);
    EXPECT_TRUE(host.calls().empty()) << "no repaint for a refused resolution";
}

}  // namespace
