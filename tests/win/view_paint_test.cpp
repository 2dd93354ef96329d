// The view paints from a back buffer: nothing is erased first, many
// rectangles drawn in one call look like the same rectangles drawn one by
// one, what a move draws at once stays in the picture that a later repaint
// of any part of the window shows, and every invalidation composes it anew.
#include "control/gameboard.h"
#include "framework/backbuffer.h"
#include "framework/gdi_handles.h"
#include "frame_fixture.h"

#include <memory>
#include <vector>

namespace {

using ViewPaintTest = GameWindowTest;

// The view's client area as the screen shows it, one COLORREF per pixel.
std::vector<COLORREF> Picture(HWND hwnd)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    std::vector<COLORREF> pixels;
    const CDisplayDC dc(hwnd);
    for (int y = 0; y < client.bottom; y += 2)
        for (int x = 0; x < client.right; x += 2)
            pixels.push_back(GetPixel(dc.Get(), x, y));
    return pixels;
}

void RepaintNow(HWND hwnd, const RECT* part)
{
    RedrawWindow(hwnd, part, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

TEST_F(ViewPaintTest, BackgroundIsNeverErasedToTheClassBrush)
{
    RepaintNow(viewWindow(), nullptr);
    const CDisplayDC dc(viewWindow());
    const COLORREF well = GetPixel(dc.Get(), 200, 300);
    const LRESULT handled = SendMessageW(viewWindow(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    EXPECT_NE(handled, 0) << "the view left the erase to the default processing";
    EXPECT_EQ(GetPixel(dc.Get(), 200, 300), well) << "the erase painted over the well";
    EXPECT_EQ(well, 0u) << "the well is black";
}

TEST_F(ViewPaintTest, MovesDrawnAtOnceSurviveARepaintOfAnUncoveredPart)
{
    PressKey(kKeyG.vk, kKeyG.scan);
    RepaintNow(viewWindow(), nullptr);
    PressKey(kKeyLeft.vk, kKeyLeft.scan);
    PressKey(kKeyLeft.vk, kKeyLeft.scan);
    const std::vector<COLORREF> afterMoves = Picture(viewWindow());

    // Part of the window uncovered: repainted without a change of the game.
    const RECT well{96, 72, 408, 552};
    RepaintNow(viewWindow(), &well);
    EXPECT_EQ(Picture(viewWindow()), afterMoves) << "an uncovered part shows an older picture";

    // Composed anew from the game's state.
    view().Invalidate(true);
    RepaintNow(viewWindow(), nullptr);
    EXPECT_EQ(Picture(viewWindow()), afterMoves) << "the moves drew another picture than a full repaint";
}

TEST_F(ViewPaintTest, InvalidatingThroughTheWindowBaseComposesThePictureAnew)
{
    RepaintNow(viewWindow(), nullptr);
    const std::vector<COLORREF> composed = Picture(viewWindow());
    {
        // Drawn into the kept picture, not from the game's state.
        std::unique_ptr<surface::CDC> dc = view().openClientDC();
        surface::CBrush red(surface::Rgb(255, 0, 0));
        surface::Selection selection(*dc);
        selection.Select(red);
        dc->Rectangle(200, 200, 260, 260);
    }
    RepaintNow(viewWindow(), nullptr);
    ASSERT_NE(Picture(viewWindow()), composed) << "a repaint by the system alone composed the picture anew";

    CWnd& window = view();
    window.Invalidate(true);
    UpdateWindow(viewWindow());
    EXPECT_EQ(Picture(viewWindow()), composed) << "an invalidation through CWnd showed the kept picture";
}

// Draws the same rectangles with the pen on a buffer, either one call each or
// all in one call, and returns the picture.
std::vector<COLORREF> DrawRectangles(CWnd* window, bool inOneCall, int penStyle, int penWidth)
{
    CBackBuffer buffer;
    buffer.Resize(window, 120, 80);
    {
        CBufferDC dc(buffer);
        const RECT all{0, 0, 120, 80};
        FillRect(dc.m_hDC, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        surface::CPen pen(penStyle, penWidth, surface::Rgb(255, 255, 255));
        surface::CBrush brush(surface::Rgb(255, 153, 255));
        surface::Selection selection(dc);
        selection.Select(pen);
        selection.Select(brush);
        const surface::CRect rects[] = {{0, 0, 24, 24},   {24, 0, 48, 24},   {50, 30, 51, 31},
                                        {60, 10, 62, 70}, {70, 40, 118, 41}, {90, 50, 114, 74}};
        if (inOneCall) {
            dc.Rectangles(rects, 6);
        } else {
            for (const surface::CRect& r : rects)
                dc.Rectangle(r.left, r.top, r.right, r.bottom);
        }
    }
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            pixels.push_back(GetPixel(buffer.GetSafeHdc(), x, y));
    return pixels;
}

TEST_F(ViewPaintTest, RectanglesInOneCallLookLikeOneByOne)
{
    struct Pen {
        int style;
        int width;
    };
    // The outline of a cell at every scale: one pixel, or a wider line kept
    // inside the cell.
    for (const Pen pen :
         {Pen{surface::kPenSolid, 1}, Pen{surface::kPenInsideFrame, 1}, Pen{surface::kPenInsideFrame, 3}})
        EXPECT_EQ(DrawRectangles(&view(), true, pen.style, pen.width),
                  DrawRectangles(&view(), false, pen.style, pen.width))
            << "pen style " << pen.style << ", width " << pen.width;
}

TEST_F(ViewPaintTest, BackBufferIsMadeAgainOnlyForANewSize)
{
    CBackBuffer buffer;
    EXPECT_TRUE(buffer.Resize(&view(), 100, 50));
    const HDC made = buffer.GetSafeHdc();
    EXPECT_FALSE(buffer.Resize(&view(), 100, 50));
    EXPECT_EQ(buffer.GetSafeHdc(), made);
    EXPECT_TRUE(buffer.Resize(&view(), 101, 50));
    EXPECT_EQ(buffer.Width(), 101);
    EXPECT_FALSE(buffer.Resize(&view(), 0, 50)) << "an empty client area has no buffer";
    EXPECT_FALSE(buffer.IsValid());
}

}  // namespace
