// SkinTheme: a parsed skin resolved to colours, brushes and a font, defaults filled in.
#pragma once

#include <windows.h>

#include "GdiObject.h"
#include "SkinFile.h"

namespace skin {

struct ButtonLook {
    COLORREF face;
    COLORREF text;
    COLORREF border;
};

enum class ButtonState { Normal, Hot, Pressed, Disabled };

// Every value is final here: whatever the file left out or got wrong has been replaced
// by the default documented in SKIN-FORMAT.md. Owns its GDI objects.
class SkinTheme {
public:
    explicit SkinTheme(const SkinSettings& settings);
    SkinTheme(const SkinTheme&) = delete;
    SkinTheme& operator=(const SkinTheme&) = delete;

    COLORREF dialogText() const { return m_dialogText; }
    HBRUSH dialogBrush() const { return m_dialogBrush.get(); }
    COLORREF dialogBackground() const { return m_dialogBackground; }
    COLORREF groupFrame() const { return m_groupFrame; }
    COLORREF groupText() const { return m_groupText; }
    const ButtonLook& button(ButtonState state) const;
    COLORREF buttonFocus() const { return m_buttonFocus; }
    int buttonRadius() const { return m_buttonRadius; }
    COLORREF editBackground() const { return m_editBackground; }
    COLORREF editText() const { return m_editText; }
    HBRUSH editBrush() const { return m_editBrush.get(); }
    // Edits keep the system border unless the skin names a border colour.
    bool hasEditBorder() const { return m_hasEditBorder; }
    COLORREF editBorder() const { return m_editBorder; }
    COLORREF readOnlyBackground() const { return m_readOnlyBackground; }
    COLORREF readOnlyText() const { return m_readOnlyText; }
    HBRUSH readOnlyBrush() const { return m_readOnlyBrush.get(); }
    // Null unless the skin names a face that exists on this system.
    HFONT font() const { return m_font.get(); }

private:
    COLORREF m_dialogBackground;
    COLORREF m_dialogText;
    COLORREF m_groupFrame;
    COLORREF m_groupText;
    ButtonLook m_buttons[4];
    COLORREF m_buttonFocus;
    int m_buttonRadius;
    COLORREF m_editBackground;
    COLORREF m_editText;
    bool m_hasEditBorder;
    COLORREF m_editBorder;
    COLORREF m_readOnlyBackground;
    COLORREF m_readOnlyText;
    OwnedBrush m_dialogBrush;
    OwnedBrush m_editBrush;
    OwnedBrush m_readOnlyBrush;
    OwnedFont m_font;
};

}  // namespace skin
