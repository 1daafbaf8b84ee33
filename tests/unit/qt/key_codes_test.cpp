// Qt keys to the virtual-key codes and shift states the handlers take.
#include <gtest/gtest.h>

#include "platform/qt/key_codes.h"

namespace vollo::qt {
namespace {

struct KeyCase {
    int key;
    Qt::KeyboardModifiers modifiers;
    int code;
};

TEST(KeyCodes, KeysOfTheMainKeyboard) {
    const KeyCase cases[] = {
        {Qt::Key_A, {}, 65},
        {Qt::Key_Z, Qt::ShiftModifier, 90},
        {Qt::Key_0, {}, 48},
        {Qt::Key_9, {}, 57},
        {Qt::Key_Space, {}, 32},
        {Qt::Key_Return, {}, 13},
        {Qt::Key_Backspace, {}, 8},
        {Qt::Key_Delete, {}, 46},
        {Qt::Key_Minus, {}, 189},
        {Qt::Key_Underscore, Qt::ShiftModifier, 189},
        // Shifted symbols are the keys they sit on.
        {Qt::Key_Exclam, Qt::ShiftModifier, 49},
        {Qt::Key_ParenRight, Qt::ShiftModifier, 48},
        {Qt::Key_NumberSign, Qt::ShiftModifier, 51},
        {Qt::Key_Semicolon, {}, 186},
        {Qt::Key_Equal, {}, 187},
        {Qt::Key_Comma, {}, 188},
        {Qt::Key_Period, {}, 190},
        {Qt::Key_Slash, {}, 191},
        {Qt::Key_QuoteLeft, {}, 192},
        {Qt::Key_BracketLeft, {}, 219},
        {Qt::Key_Backslash, {}, 220},
        {Qt::Key_BracketRight, {}, 221},
        {Qt::Key_Apostrophe, {}, 222},
        {Qt::Key_Shift, Qt::ShiftModifier, 16},
        {Qt::Key_Control, {}, 17},
        {Qt::Key_Alt, {}, 18},
        {Qt::Key_Escape, {}, 27},
        {Qt::Key_Tab, {}, 9},
        {Qt::Key_Left, {}, 37},
        {Qt::Key_Up, {}, 38},
        {Qt::Key_Right, {}, 39},
        {Qt::Key_Down, {}, 40},
        {Qt::Key_PageUp, {}, 33},
        {Qt::Key_PageDown, {}, 34},
        {Qt::Key_End, {}, 35},
        {Qt::Key_Home, {}, 36},
        {Qt::Key_Insert, {}, 45},
        {Qt::Key_F1, {}, 112},
        {Qt::Key_F12, {}, 123},
        // Keys without a virtual-key code.
        {Qt::Key_Adiaeresis, {}, 0},
        {Qt::Key_unknown, {}, 0},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(virtualKeyCode(c.key, c.modifiers), c.code) << "Qt key 0x" << std::hex << c.key;
    }
}

TEST(KeyCodes, KeysOfTheKeypad) {
    const KeyCase cases[] = {
        {Qt::Key_0, Qt::KeypadModifier, 96},
        {Qt::Key_7, Qt::KeypadModifier, 103},
        {Qt::Key_9, Qt::KeypadModifier, 105},
        {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
        {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Minus, Qt::KeypadModifier, 109},
        {Qt::Key_Period, Qt::KeypadModifier, 110},
        {Qt::Key_Slash, Qt::KeypadModifier, 111},
        // Enter and the navigation keys of the keypad are those of the main keys.
        {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Home, Qt::KeypadModifier, 36},
        {Qt::Key_Down, Qt::KeypadModifier, 40},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(virtualKeyCode(c.key, c.modifiers), c.code) << "Qt key 0x" << std::hex << c.key;
    }
}

TEST(KeyCodes, ShiftStates) {
    EXPECT_EQ(shiftState(Qt::Key_A, {}), 0);
    EXPECT_EQ(shiftState(Qt::Key_A, Qt::ShiftModifier), 1);
    EXPECT_EQ(shiftState(Qt::Key_A, Qt::ControlModifier), 2);
    EXPECT_EQ(shiftState(Qt::Key_A, Qt::AltModifier), 4);
    EXPECT_EQ(shiftState(Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
    EXPECT_EQ(shiftState(Qt::Key_1, Qt::KeypadModifier), 0);
    // A modifier's own press counts as held, whatever the window system reported.
    EXPECT_EQ(shiftState(Qt::Key_Shift, {}), 1);
    EXPECT_EQ(shiftState(Qt::Key_Control, Qt::ShiftModifier), 3);
    EXPECT_EQ(shiftState(Qt::Key_Alt, {}), 4);
}

}  // namespace
}  // namespace vollo::qt
