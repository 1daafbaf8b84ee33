// Qt keys to the Windows virtual-key codes and shift states the `_KeyDown`
// handlers take (letters 65-90, digits 48-57, Enter 13, ...).
#pragma once

#include <Qt>

class QKeyEvent;

namespace vollo::qt {

// The virtual-key code of a key with its modifiers, 0 for a key that has none
// (such keys raise no `_KeyDown`). Shifted symbols of the main keyboard give
// the code of their key on a US layout ("!" is the key 1, 49).
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
int virtualKeyCode(const QKeyEvent& event);

// The shift state: 1 Shift, 2 Ctrl, 4 Alt. A modifier key's own press counts
// its modifier as held.
int shiftState(int qtKey, Qt::KeyboardModifiers modifiers);
int shiftState(const QKeyEvent& event);

}  // namespace vollo::qt
