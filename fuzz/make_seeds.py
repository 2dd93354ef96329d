#!/usr/bin/env python3
"""Writes the fuzz target's seed inputs into fuzz/corpus.

An input is a seed byte for the shapes' kinds followed by steps: one byte
chooses the step (its value modulo 13), some steps read further bytes. The
numbers below follow the order of the steps in board_driver.cpp.
"""
import pathlib
import random

TABLE_KEY, ANY_KEY, STRAY_TICK, ADVANCE, CHANGE_SPEED, PAUSE, START, PREVIEW, REPAINT, TIMER_BASE, PLACE, LOAD_ROWS, SET_DPI = range(13)
KEYS = 40  # entries in the driver's key table


def word(value):
    return list((value & 0xFFFFFFFF).to_bytes(4, "big"))


def seeds():
    rng = random.Random(9)
    yield "ready", [1, REPAINT, PREVIEW, REPAINT] + sum(([TABLE_KEY, k] for k in range(KEYS)), []) + [REPAINT]
    game = [2, START]
    for n in range(300):
        game += [PLACE, rng.randrange(256)]
        if n % 25 == 0:
            game += [REPAINT, PREVIEW]
    yield "long_game", game + [REPAINT, START, REPAINT]
    yield "pause", [3, START, ADVANCE, 200, PAUSE, ADVANCE, 255, REPAINT, START, PAUSE, PAUSE,
                    ADVANCE, 255, STRAY_TICK, REPAINT]
    yield "speed", [4, CHANGE_SPEED] + word(0x7FFFFFFF) + [CHANGE_SPEED] + word(-0x80000000) + \
        [TIMER_BASE] + word(0) + [START, ADVANCE, 255, TIMER_BASE] + word(-50) + [ADVANCE, 255] + \
        [TIMER_BASE] + word(0x7FFFFFFF) + [CHANGE_SPEED] + word(5) + [ADVANCE, 255, REPAINT]
    quit_game = [5, START] + sum(([PLACE, rng.randrange(256)] for _ in range(8)), [])
    yield "quit", quit_game + [TABLE_KEY, 37] + [ADVANCE, 255] * 40 + [START, REPAINT]
    yield "odd_keys", [6, START] + sum(([ANY_KEY] + word(rng.randrange(1 << 32)) for _ in range(40)), []) + \
        [ANY_KEY] + word(0xFFFFFFFF) + [STRAY_TICK, REPAINT]
    # A well filled to row 4 with one gap per row, all in column 12, then
    # bars dropped there: rows go in fours.
    deep = [7, LOAD_ROWS, 16] + [0x0F, 0xFF] * 16 + [START, REPAINT]
    yield "deep_well", deep + sum(([PLACE, rng.randrange(256)] for _ in range(60)), []) + [REPAINT]
    # Two rows at the bottom, full but for gaps that the shape at the top
    # fills when dropped straight down in the middle column: two rows go at
    # once. Each gap suits some kinds (the bar and the bars of three, the
    # square, either zigzag); the well is loaded anew for each shape.
    middle = 6
    gaps = [({middle}, {middle}), ({middle, middle + 1}, {middle, middle + 1}),
            ({middle - 1, middle}, {middle}), ({middle, middle + 1}, {middle})]
    rows = [9, START]
    for _ in range(3):
        for upper, lower in gaps:
            rows += [LOAD_ROWS, 2] + sum((word(0x1FFF & ~sum(1 << c for c in gap))[2:] for gap in (upper, lower)), [])
            rows += [PLACE, middle << 2]
    yield "two_rows", rows + [REPAINT]
    # Resolutions: 96 + 50 = 146 is word 146 (the value read is word % 1100 - 50).
    scaled = [8, START]
    for dpi in [144, 192, 120, 24, 960, 23, 961, 96]:
        scaled += [SET_DPI] + word(dpi + 50) + [PLACE, rng.randrange(256), REPAINT, PREVIEW, REPAINT]
    yield "scaled", scaled + [SET_DPI] + word(-0x80000000) + [SET_DPI] + word(-1) + [REPAINT]


def main():
    corpus = pathlib.Path(__file__).resolve().parent / "corpus"
    corpus.mkdir(exist_ok=True)
    for name, data in seeds():
        (corpus / name).write_bytes(bytes(data))


if __name__ == "__main__":
    main()
