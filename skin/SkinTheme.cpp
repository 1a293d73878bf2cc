// SkinTheme: default rules for missing skin values and creation of the skin's GDI objects.
#include "SkinTheme.h"

#include <algorithm>
#include <string>

namespace skin {
namespace {

COLORREF Or(const std::optional<Color>& value, COLORREF fallback) {
    return value ? RGB(value->r, value->g, value->b) : fallback;
}

ButtonLook Resolve(const ButtonColors& colors, const ButtonLook& fallback) {
    return {Or(colors.face, fallback.face), Or(colors.text, fallback.text),
            Or(colors.border, fallback.border)};
}

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceExists(const std::wstring& face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    face.copy(query.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    EnumFontFamiliesExW(screen, &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The face is taken only if it exists, so that a typo cannot swap the dialog's font for
// whatever the font mapper would pick instead.
HFONT CreateSkinFont(const SkinSpec& spec) {
    if (!spec.fontFace || !spec.fontPoints) return nullptr;
    const UINT codePage = spec.utf8 ? CP_UTF8 : CP_ACP;
    const std::string& bytes = *spec.fontFace;
    wchar_t face[LF_FACESIZE] = {};
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), face, LF_FACESIZE - 1);
    if (length <= 0 || !FaceExists(std::wstring(face, static_cast<std::size_t>(length)))) {
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    LOGFONTW font{};
    font.lfHeight = -MulDiv(*spec.fontPoints, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    std::copy(face, face + length, font.lfFaceName);
    return CreateFontIndirectW(&font);
}

}  // namespace

SkinTheme::SkinTheme(const SkinSpec& spec)
    : m_dialogBackground(Or(spec.dialogBackground, GetSysColor(COLOR_3DFACE))),
      m_dialogText(Or(spec.dialogText, GetSysColor(COLOR_BTNTEXT))),
      m_groupFrame(Or(spec.groupFrame, GetSysColor(COLOR_3DSHADOW))),
      m_groupText(Or(spec.groupText, m_dialogText)),
      m_buttonRadius(spec.buttonRadius.value_or(2)),
      m_editBackground(Or(spec.editBackground, GetSysColor(COLOR_WINDOW))),
      m_editText(Or(spec.editText, GetSysColor(COLOR_WINDOWTEXT))),
      m_hasEditBorder(spec.editBorder.has_value()),
      m_editBorder(Or(spec.editBorder, GetSysColor(COLOR_3DSHADOW))),
      m_readOnlyBackground(Or(spec.readOnlyBackground, m_dialogBackground)),
      m_readOnlyText(Or(spec.readOnlyText, m_dialogText)),
      m_dialogBrush(CreateSolidBrush(m_dialogBackground)),
      m_editBrush(CreateSolidBrush(m_editBackground)),
      m_readOnlyBrush(CreateSolidBrush(m_readOnlyBackground)),
      m_font(CreateSkinFont(spec)) {
    const ButtonLook system{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT),
                            GetSysColor(COLOR_3DDKSHADOW)};
    const ButtonLook normal = Resolve(spec.button, system);
    ButtonLook disabledFallback = normal;
    disabledFallback.text = GetSysColor(COLOR_GRAYTEXT);
    m_buttons[static_cast<int>(ButtonState::Normal)] = normal;
    m_buttons[static_cast<int>(ButtonState::Hot)] = Resolve(spec.buttonHot, normal);
    m_buttons[static_cast<int>(ButtonState::Pressed)] = Resolve(spec.buttonPressed, normal);
    m_buttons[static_cast<int>(ButtonState::Disabled)] =
        Resolve(spec.buttonDisabled, disabledFallback);
    m_buttonFocus = Or(spec.buttonFocus, normal.text);
}

const ButtonLook& SkinTheme::button(ButtonState state) const {
    return m_buttons[static_cast<int>(state)];
}

}  // namespace skin
