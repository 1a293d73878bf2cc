// SkinFile: the platform-free reader of the skin file format (see SKIN-FORMAT.md).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skin {

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(Color a, Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
    friend bool operator!=(Color a, Color b) { return !(a == b); }
};

// Colours of one push-button state; an empty value takes the documented fallback.
struct ButtonColors {
    std::optional<Color> face;
    std::optional<Color> text;
    std::optional<Color> border;
};

// Everything a skin file can say. Every value is optional: a missing or bad value
// leaves the choice to the renderer's default for that value.
struct SkinSettings {
    std::optional<Color> dialogBackground;
    std::optional<Color> dialogText;
    std::optional<Color> groupFrame;
    std::optional<Color> groupText;
    ButtonColors button;
    ButtonColors buttonHot;
    ButtonColors buttonPressed;
    ButtonColors buttonDisabled;
    std::optional<Color> buttonFocus;
    std::optional<int> buttonRadius;
    std::optional<Color> editBackground;
    std::optional<Color> editText;
    std::optional<Color> editBorder;
    std::optional<Color> readOnlyBackground;
    std::optional<Color> readOnlyText;
    std::optional<std::string> fontFace;  // bytes as in the file; see utf8
    std::optional<int> fontPoints;
    // True when the file began with a UTF-8 byte-order mark: fontFace is then UTF-8,
    // otherwise it is in the reader's ANSI code page.
    bool utf8 = false;
};

// Files larger than this are not skins; it also bounds what a caller reads.
inline constexpr std::size_t kMaxSkinBytes = 64 * 1024;
// Longer lines are ignored whole rather than cut, so a cut never yields a wrong value.
inline constexpr std::size_t kMaxLineBytes = 512;
inline constexpr int kMinFontPoints = 6;
inline constexpr int kMaxFontPoints = 48;
inline constexpr std::size_t kMaxFaceBytes = 64;
inline constexpr int kMaxButtonRadius = 12;

// "#RRGGBB" or "R, G, B" (decimal, 0..255); nothing else.
std::optional<Color> ParseColor(std::string_view text);

// Parses the whole file content. Returns nothing when the bytes are not a skin:
// empty, too large, binary (NUL or other control bytes), or without any known section.
// Inside a skin, a line or value that does not parse is skipped.
std::optional<SkinSettings> ParseSkin(std::string_view bytes);

}  // namespace skin
