// Subclass: replacing and restoring a window's procedure without changing its character set.
#pragma once

#include <windows.h>

namespace skin {

// Every message of a subclassed window arrives here; implemented by the skin's painters.
LRESULT HandleSkinnedMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the skin's procedure in front of the window's own. The previous procedure is kept
// on the window itself, so forwarding works even after the skin has stopped.
bool Subclass(HWND hwnd);

// Restores the previous procedure when the skin's procedure is still the window's. When
// another subclass sits on top, the skin's procedure stays in the chain and only forwards.
void Unsubclass(HWND hwnd);

// Passes a message on to the procedure that the skin replaced.
LRESULT CallPrevious(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skin
