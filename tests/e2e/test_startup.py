"""Start-up: one main window with the game's caption, its size and place on
a 1920 x 1080 screen, and the picture of a game that waits to be started."""

from picture import BLACK, WHITE


def test_one_main_window_with_the_game_caption(game):
    windows = game.main_windows()
    assert windows == [game.frame], f"main windows found: {windows}"
    assert game.text(game.frame) == "落磚樂"
    state = game.state()
    assert (state["visible"], state["iconic"], state["enabled"], state["foreground"]) == (1, 0, 1, 1)
    game.screenshot("start")


def test_window_is_840_by_640_centred_horizontally(game):
    (left, top, right, bottom), client = game.rect()
    assert (left, top, right - left, bottom - top) == (540, 106, 840, 640)
    # The view covers the frame's whole client area.
    view_window = game.window_rect(game.view)
    assert view_window == client, f"view {view_window}, frame client {client}"


def is_dark(colour):
    return sum(colour) < 3 * 128


def test_ready_picture(game):
    image = game.wait_picture(lambda i: i.pixel(93, 69) == BLACK, what="the board drawn")
    game.screenshot("ready")

    # The well is black and empty: the first shape stays hidden until g.
    assert image.colours(96, 72, 408, 552) == {BLACK}
    assert image.occupied_cells() == {}

    # Border: one pixel, 3 pixels off the well on the top and left, 2 on the
    # bottom and right; white between border and well.
    border = {
        "left": (93, 69, 94, 555),
        "right": (410, 69, 411, 555),
        "top": (93, 69, 411, 70),
        "bottom": (93, 554, 411, 555),
    }
    for side, rect in border.items():
        assert image.colours(*rect) == {BLACK}, f"{side} border line"
    for gap in [(94, 70, 96, 554), (94, 70, 410, 72), (408, 72, 410, 554), (94, 552, 410, 554)]:
        assert image.colours(*gap) == {WHITE}, f"gap {gap} between border and well"
    assert image.pixel(92, 300) == WHITE and image.pixel(411, 300) == WHITE

    # The preview area is white while the preview is off.
    assert image.colours(0, 72, 72, 168) == {WHITE}


def test_title_band(game):
    image = game.wait_picture(lambda i: i.pixel(93, 69) == BLACK, what="the board drawn")
    # The title is drawn in black on white, centred in the top 60 pixels.
    dark = [(x, y) for y in range(0, 69) for x in range(image.width)
            if is_dark(image.pixel(x, y))]
    assert dark, "no title text in the title band"
    xs = [x for x, _ in dark]
    ys = [y for _, y in dark]
    assert max(ys) < 60, f"title reaches row {max(ys)}"
    centre_x = (min(xs) + max(xs)) / 2
    centre_y = (min(ys) + max(ys)) / 2
    assert abs(centre_x - image.width / 2) <= 3, f"title centred at x {centre_x}"
    assert abs(centre_y - 30) <= 6, f"title centred at y {centre_y}"
    # A 26-point title is a good deal taller than the system font.
    assert max(ys) - min(ys) >= 20, f"title only {max(ys) - min(ys) + 1} pixels high"
    for corner in [(0, 0), (image.width - 1, 0), (0, 59), (image.width - 1, 59)]:
        assert image.pixel(*corner) == WHITE, f"title band corner {corner}"


def is_blue(colour):
    red, green, blue = colour
    return blue >= 200 and red <= 80 and green <= 80


def test_status_panel_texts_and_colours(game):
    image = game.wait_picture(lambda i: i.pixel(93, 69) == BLACK, what="the board drawn")
    panel_left = 456
    lines = {
        "key help": (panel_left, 72, panel_left + 200, 96),
        "speed caption": (panel_left, 192, panel_left + 110, 216),
        "start prompt": (panel_left, 336, panel_left + 150, 360),
        "score caption": (panel_left, 384, panel_left + 110, 408),
    }
    for name, rect in lines.items():
        assert any(is_dark(c) for c in image.colours(*rect)), f"no text for the {name}"
    # The speed and the score are blue; the score in a large font.
    assert any(is_blue(c) for c in image.colours(panel_left + 120, 192, panel_left + 150, 216)), \
        "speed number is not blue"
    score = [(x, y) for y in range(408, min(image.height, 560))
             for x in range(panel_left + 60, panel_left + 160) if is_blue(image.pixel(x, y))]
    assert score, "score number is not blue"
    height = max(y for _, y in score) - min(y for _, y in score) + 1
    assert height >= 40, f"score digit only {height} pixels high"
    # Nothing of the panel is drawn left of its edge, between it and the well.
    assert image.colours(411, 72, panel_left, 552) == {WHITE}


def test_arrows_are_four_different_glyphs(game):
    image = game.wait_picture(lambda i: i.pixel(93, 69) == BLACK, what="the board drawn")
    panel_left = 456
    # A font without the arrows draws the same empty box for each of them.
    arrows = [image.crop(panel_left + 36, y, panel_left + 58, y + 24) for y in (96, 120, 144, 168)]
    for arrow, name in zip(arrows, "←→↓↑"):
        assert any(is_blue(c) for c in arrow.colours(0, 0, arrow.width, arrow.height)), f"{name} is not drawn"
    assert all(a != b for i, a in enumerate(arrows) for b in arrows[i + 1:]), "arrows drawn alike (boxes)"
