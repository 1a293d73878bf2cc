// SkinPaint: drawing of the controls the skin paints itself.
#pragma once

#include <windows.h>

#include "SkinTheme.h"

namespace skin {

// Draws a push button whole, for every state the button reports plus hot and default.
void DrawPushButton(const SkinTheme& theme, const DRAWITEMSTRUCT& item, bool hot, bool isDefault);

// Draws a group box's frame and caption; leaves the inside untouched, since the
// controls it groups lie on top of it.
void PaintGroupBox(const SkinTheme& theme, HWND hwnd, HDC dc);

// Redraws an edit's border in the skin's border colour; edits with scroll bars keep theirs.
void PaintEditBorder(const SkinTheme& theme, HWND hwnd);

}  // namespace skin
