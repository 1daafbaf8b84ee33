// Qt keys to the virtual-key codes and shift states the handlers take.
#include <gtest/gtest.h>

#include "platform/qt/key_codes.h"

namespace vollo::qt {
namespace {

TEST(KeyCodes, MainKeyboardAndKeypadKeys) {
    const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, pad = Qt::KeypadModifier;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    } cases[] = {
        // clang-format off
        {Qt::Key_A, none, 65}, {Qt::Key_Z, shift, 90}, {Qt::Key_0, none, 48}, {Qt::Key_9, none, 57},
        {Qt::Key_Space, none, 32}, {Qt::Key_Return, none, 13}, {Qt::Key_Backspace, none, 8},
        {Qt::Key_Delete, none, 46}, {Qt::Key_Minus, none, 189}, {Qt::Key_Underscore, shift, 189},
        // Shifted symbols are the keys they sit on.
        {Qt::Key_Exclam, shift, 49}, {Qt::Key_ParenRight, shift, 48}, {Qt::Key_NumberSign, shift, 51},
        {Qt::Key_Semicolon, none, 186}, {Qt::Key_Equal, none, 187}, {Qt::Key_Comma, none, 188},
        {Qt::Key_Period, none, 190}, {Qt::Key_Slash, none, 191}, {Qt::Key_QuoteLeft, none, 192},
        {Qt::Key_BracketLeft, none, 219}, {Qt::Key_Backslash, none, 220}, {Qt::Key_BracketRight, none, 221},
        {Qt::Key_Apostrophe, none, 222}, {Qt::Key_Shift, shift, 16}, {Qt::Key_Control, none, 17},
        {Qt::Key_Alt, none, 18}, {Qt::Key_Escape, none, 27}, {Qt::Key_Tab, none, 9}, {Qt::Key_Left, none, 37},
        {Qt::Key_Up, none, 38}, {Qt::Key_Right, none, 39}, {Qt::Key_Down, none, 40}, {Qt::Key_PageUp, none, 33},
        {Qt::Key_PageDown, none, 34}, {Qt::Key_End, none, 35}, {Qt::Key_Home, none, 36},
        {Qt::Key_Insert, none, 45}, {Qt::Key_F1, none, 112}, {Qt::Key_F12, none, 123},
        {Qt::Key_Adiaeresis, none, 0}, {Qt::Key_unknown, none, 0},  // no virtual-key code
        {Qt::Key_0, pad, 96}, {Qt::Key_7, pad, 103}, {Qt::Key_9, pad, 105}, {Qt::Key_Asterisk, pad, 106},
        {Qt::Key_Plus, pad, 107}, {Qt::Key_Minus, pad, 109}, {Qt::Key_Period, pad, 110},
        {Qt::Key_Slash, pad, 111},
        // Enter and the navigation keys of the keypad are those of the main keys.
        {Qt::Key_Enter, pad, 13}, {Qt::Key_Home, pad, 36}, {Qt::Key_Down, pad, 40},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(virtualKeyCode(c.key, c.modifiers), c.code) << "Qt key 0x" << std::hex << c.key;
    }
}

TEST(KeyCodes, ShiftStates) {
    const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    EXPECT_EQ(shiftState(Qt::Key_A, {}), 0);
    EXPECT_EQ(shiftState(Qt::Key_A, Qt::ShiftModifier), 1);
    EXPECT_EQ(shiftState(Qt::Key_A, Qt::ControlModifier), 2);
    EXPECT_EQ(shiftState(Qt::Key_A, Qt::AltModifier), 4);
    EXPECT_EQ(shiftState(Qt::Key_A, all), 7);
    EXPECT_EQ(shiftState(Qt::Key_1, Qt::KeypadModifier), 0);
    // A modifier's own press counts as held, whatever the window system reported.
    EXPECT_EQ(shiftState(Qt::Key_Shift, {}), 1);
    EXPECT_EQ(shiftState(Qt::Key_Control, Qt::ShiftModifier), 3);
    EXPECT_EQ(shiftState(Qt::Key_Alt, {}), 4);
}

}  // namespace
}  // namespace vollo::qt
