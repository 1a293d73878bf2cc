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
HFONT CreateSkinFont(const SkinSettings& settings) {
    if (!settings.fontFace || !settings.fontPoints) return nullptr;
    const UINT codePage = settings.utf8 ? CP_UTF8 : CP_ACP;
    const std::string& bytes = *settings.fontFace;
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
    font.lfHeight = -MulDiv(*settings.fontPoints, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    std::copy(face, face + length, font.lfFaceName);
    return CreateFontIndirectW(&font);
}

}  // namespace

SkinTheme::SkinTheme(const SkinSettings& settings)
    : m_dialogBackground(Or(settings.dialogBackground, GetSysColor(COLOR_3DFACE))),
      m_dialogText(Or(settings.dialogText, GetSysColor(COLOR_BTNTEXT))),
      m_groupFrame(Or(settings.groupFrame, GetSysColor(COLOR_3DSHADOW))),
      m_groupText(Or(settings.groupText, m_dialogText)),
      m_buttonRadius(settings.buttonRadius.value_or(2)),
      m_editBackground(Or(settings.editBackground, GetSysColor(COLOR_WINDOW))),
      m_editText(Or(settings.editText, GetSysColor(COLOR_WINDOWTEXT))),
      m_hasEditBorder(settings.editBorder.has_value()),
      m_editBorder(Or(settings.editBorder, GetSysColor(COLOR_3DSHADOW))),
      m_readOnlyBackground(Or(settings.readOnlyBackground, m_dialogBackground)),
      m_readOnlyText(Or(settings.readOnlyText, m_dialogText)),
      m_dialogBrush(CreateSolidBrush(m_dialogBackground)),
      m_editBrush(CreateSolidBrush(m_editBackground)),
      m_readOnlyBrush(CreateSolidBrush(m_readOnlyBackground)),
      m_font(CreateSkinFont(settings)) {
    const ButtonLook system{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT),
                            GetSysColor(COLOR_3DDKSHADOW)};
    const ButtonLook normal = Resolve(settings.button, system);
    ButtonLook disabledFallback = normal;
    disabledFallback.text = GetSysColor(COLOR_GRAYTEXT);
    m_buttons[static_cast<int>(ButtonState::Normal)] = normal;
    m_buttons[static_cast<int>(ButtonState::Hot)] = Resolve(settings.buttonHot, normal);
    m_buttons[static_cast<int>(ButtonState::Pressed)] = Resolve(settings.buttonPressed, normal);
    m_buttons[static_cast<int>(ButtonState::Disabled)] =
        Resolve(settings.buttonDisabled, disabledFallback);
    m_buttonFocus = Or(settings.buttonFocus, normal.text);
}

const ButtonLook& SkinTheme::button(ButtonState state) const {
    return m_buttons[static_cast<int>(state)];
}

}  // namespace skin
