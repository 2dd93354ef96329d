// The keys the game answers to: for each command, the virtual-key codes and
// the scan codes (without the extended-key bit) that choose it.
#pragma once

#include <cstddef>

#include "control/commandhandler.h"

// A key as the system reports it.
struct KeyCode {
    unsigned vk;
    unsigned scan;
};

// Up to six virtual-key codes and four scan codes per row; unused slots are
// left out by the counts.
struct KeyRow {
    CommandKind kind;
    std::size_t virtualKeyCount;
    unsigned virtualKeys[6];
    std::size_t scanCodeCount;
    unsigned scanCodes[4];

    constexpr bool matches(unsigned vk, unsigned scan) const
    {
        for (std::size_t i = 0; i < virtualKeyCount; ++i) {
            if (virtualKeys[i] == vk) {
                return true;
            }
        }
        for (std::size_t i = 0; i < scanCodeCount; ++i) {
            if (scanCodes[i] == scan) {
                return true;
            }
        }
        return false;
    }
    // The row's main key: its first virtual-key code with its first scan code.
    constexpr KeyCode key() const { return {virtualKeys[0], scanCodes[0]}; }
};

// Rows are tested from the top and the first match wins. A row matches on
// its virtual-key code or on its scan code, so each key also works where the
// layout puts a different letter at its position.
inline constexpr KeyRow kKeyTable[] = {
    {CommandKind::Drop, 2, {0x28, 0x62}, 1, {0x50}},
    {CommandKind::MoveLeft, 3, {0x25, 0x64, 0x34}, 2, {0x4B, 0x05}},
    {CommandKind::MoveRight, 3, {0x27, 0x66, 0x36}, 2, {0x4D, 0x07}},
    {CommandKind::Rotate, 6, {0x26, 0x68, 0x38, 0x0C, 0x65, 0x35}, 4, {0x48, 0x09, 0x4C, 0x06}},
    {CommandKind::SpeedUp, 1, {0x49}, 1, {0x17}},
    {CommandKind::SpeedDown, 1, {0x44}, 1, {0x20}},
    {CommandKind::Pause, 1, {0x50}, 1, {0x19}},
    {CommandKind::Quit, 1, {0x51}, 1, {0x10}},
    {CommandKind::KeyR, 1, {0x52}, 1, {0x13}},
    {CommandKind::Preview, 1, {0x56}, 1, {0x2F}},
    {CommandKind::Start, 1, {0x47}, 1, {0x22}},
};

// Esc quits too, but only by both codes at once: either alone is taken by
// another key.
inline constexpr KeyCode kEscapeKey{0x1B, 0x01};

// The main key of a command in the table; none for a command without a row.
constexpr KeyCode keyFor(CommandKind kind)
{
    for (const KeyRow& row : kKeyTable) {
        if (row.kind == kind) {
            return row.key();
        }
    }
    return {0, 0};
}
