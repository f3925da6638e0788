#pragma once
// The program list handles keys by Windows virtual-key codes; this maps Qt's key events
// onto them (letters 0x41-0x5A, digits 0x30-0x39, keypad 0x60-0x6F, F1-F15 0x70-0x7E).

#include <Qt>

class QKeyEvent;

namespace vorbix::gui {

inline constexpr int kVirtualKeyReturn = 0x0D;
inline constexpr int kVirtualKeyEscape = 0x1B;
inline constexpr int kVirtualKeyDelete = 0x2E;

// 0 for a key that has no virtual-key code here. Shifted digits give their digit key, as
// the code names the key, not the character.
int VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers);
int VirtualKeyOf(const QKeyEvent& event);

// Enter, Return or Space: the keys that follow a link that has the keyboard focus.
inline bool OpensFocusedLink(int qtKey)
{
    return qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter || qtKey == Qt::Key_Space;
}

} // namespace vorbix::gui
