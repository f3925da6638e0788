#include "mainwindow/VirtualKeys.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace vorbix::gui {
namespace {

// Keys of the numeric keypad other than the digits.
int KeypadOperatorKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Asterisk: return 0x6A;
    case Qt::Key_Plus: return 0x6B;
    case Qt::Key_Comma: return 0x6C;
    case Qt::Key_Minus: return 0x6D;
    case Qt::Key_Period: return 0x6E;
    case Qt::Key_Slash: return 0x6F;
    default: return 0;
    }
}

// Shift with a digit key gives its symbol in Qt; the virtual key is still the digit's.
int ShiftedDigitKey(int qtKey)
{
    static constexpr std::array<std::pair<int, char>, 10> symbols{{
        {Qt::Key_Exclam, '1'},
        {Qt::Key_At, '2'},
        {Qt::Key_NumberSign, '3'},
        {Qt::Key_Dollar, '4'},
        {Qt::Key_Percent, '5'},
        {Qt::Key_AsciiCircum, '6'},
        {Qt::Key_Ampersand, '7'},
        {Qt::Key_Asterisk, '8'},
        {Qt::Key_ParenLeft, '9'},
        {Qt::Key_ParenRight, '0'},
    }};
    for (const auto& [key, digit] : symbols)
        if (key == qtKey)
            return digit;
    return 0;
}

int ControlKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kVirtualKeyReturn;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return kVirtualKeyDelete;
    default: return 0;
    }
}

// The punctuation keys of a US keyboard (codes above 0x7E, so never a type-ahead).
int PunctuationKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 0xBA;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 0xBC;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 0xBD;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 0xBE;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 0xBF;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 0xC0;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 0xDB;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 0xDC;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 0xDD;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 0xDE;
    default: return 0;
    }
}

} // namespace

int VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keypad ? 0x60 + (qtKey - Qt::Key_0) : qtKey;
    if (keypad && KeypadOperatorKey(qtKey) != 0)
        return KeypadOperatorKey(qtKey);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey; // Qt's letter codes are the capitals' ASCII codes, as are the virtual keys
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F15)
        return 0x70 + (qtKey - Qt::Key_F1);
    if (const int control = ControlKey(qtKey))
        return control;
    if (const int digit = ShiftedDigitKey(qtKey))
        return digit;
    return PunctuationKey(qtKey);
}

int VirtualKeyOf(const QKeyEvent& event)
{
    return VirtualKeyFromQtKey(event.key(), event.modifiers());
}

} // namespace vorbix::gui
