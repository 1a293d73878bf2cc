// SkinFile: line splitting, section/key dispatch and value parsing of skin files.
#include "SkinFile.h"

#include <charconv>

namespace skin {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

// Whole text must be a decimal integer; a sign is allowed so "-3" is read and then
// rejected by range rather than treated as garbage.
std::optional<long long> ParseInteger(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::optional<int> ParseInRange(std::string_view text, int lo, int hi) {
    auto value = ParseInteger(text);
    if (!value || *value < lo || *value > hi) return std::nullopt;
    return static_cast<int>(*value);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

enum class Section { None, Dialog, GroupBox, Button, ButtonHot, ButtonPressed, ButtonDisabled,
                     Edit, ReadOnlyEdit, Font };

struct SectionName {
    std::string_view name;
    Section section;
};

constexpr SectionName kSections[] = {
    {"Dialog", Section::Dialog},
    {"GroupBox", Section::GroupBox},
    {"Button", Section::Button},
    {"ButtonHot", Section::ButtonHot},
    {"ButtonPressed", Section::ButtonPressed},
    {"ButtonDisabled", Section::ButtonDisabled},
    {"Edit", Section::Edit},
    {"ReadOnlyEdit", Section::ReadOnlyEdit},
    {"Font", Section::Font},
};

Section FindSection(std::string_view name) {
    for (const auto& s : kSections) {
        if (EqualsNoCase(s.name, name)) return s.section;
    }
    return Section::None;
}

ButtonColors* ButtonState(SkinSettings& settings, Section section) {
    switch (section) {
    case Section::Button: return &settings.button;
    case Section::ButtonHot: return &settings.buttonHot;
    case Section::ButtonPressed: return &settings.buttonPressed;
    case Section::ButtonDisabled: return &settings.buttonDisabled;
    default: return nullptr;
    }
}

// Points at the colour that (section, key) names, or null when the pair names no colour.
std::optional<Color>* ColorSlot(SkinSettings& settings, Section section, std::string_view key) {
    struct Entry {
        Section section;
        std::string_view key;
        std::optional<Color> SkinSettings::*slot;
    };
    static const Entry kColors[] = {
        {Section::Dialog, "Background", &SkinSettings::dialogBackground},
        {Section::Dialog, "Text", &SkinSettings::dialogText},
        {Section::GroupBox, "Frame", &SkinSettings::groupFrame},
        {Section::GroupBox, "Text", &SkinSettings::groupText},
        {Section::Button, "Focus", &SkinSettings::buttonFocus},
        {Section::Edit, "Background", &SkinSettings::editBackground},
        {Section::Edit, "Text", &SkinSettings::editText},
        {Section::Edit, "Border", &SkinSettings::editBorder},
        {Section::ReadOnlyEdit, "Background", &SkinSettings::readOnlyBackground},
        {Section::ReadOnlyEdit, "Text", &SkinSettings::readOnlyText},
    };
    for (const auto& e : kColors) {
        if (e.section == section && EqualsNoCase(e.key, key)) return &(settings.*e.slot);
    }
    if (ButtonColors* state = ButtonState(settings, section)) {
        if (EqualsNoCase(key, "Face")) return &state->face;
        if (EqualsNoCase(key, "Text")) return &state->text;
        if (EqualsNoCase(key, "Border")) return &state->border;
    }
    return nullptr;
}

// A later valid value replaces an earlier one; an invalid value clears it, so a file
// whose last word on a value is broken gets the default, not a stale earlier value.
void ApplyValue(SkinSettings& settings, Section section, std::string_view key, std::string_view value) {
    if (auto* color = ColorSlot(settings, section, key)) {
        *color = ParseColor(value);
    } else if (section == Section::Button && EqualsNoCase(key, "Radius")) {
        settings.buttonRadius = ParseInRange(value, 0, kMaxButtonRadius);
    } else if (section == Section::Font && EqualsNoCase(key, "Size")) {
        settings.fontPoints = ParseInRange(value, kMinFontPoints, kMaxFontPoints);
    } else if (section == Section::Font && EqualsNoCase(key, "Face")) {
        if (value.empty() || value.size() > kMaxFaceBytes) {
            settings.fontFace.reset();
        } else {
            settings.fontFace = std::string(value);
        }
    }
}

// An inline comment starts at ';' after a blank, so "a;b" stays one value.
std::string_view StripInlineComment(std::string_view value) {
    for (std::size_t i = 1; i < value.size(); ++i) {
        if (value[i] == ';' && IsBlank(value[i - 1])) return Trim(value.substr(0, i));
    }
    return value;
}

bool IsBinary(std::string_view bytes) {
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\r' && c != '\n') return true;
        if (u == 0x7F) return true;
    }
    return false;
}

}  // namespace

std::optional<Color> ParseColor(std::string_view text) {
    text = Trim(text);
    if (text.size() == 7 && text.front() == '#') {
        int digits[6];
        for (int i = 0; i < 6; ++i) {
            digits[i] = HexDigit(text[static_cast<std::size_t>(i) + 1]);
            if (digits[i] < 0) return std::nullopt;
        }
        return Color{static_cast<std::uint8_t>(digits[0] * 16 + digits[1]),
                     static_cast<std::uint8_t>(digits[2] * 16 + digits[3]),
                     static_cast<std::uint8_t>(digits[4] * 16 + digits[5])};
    }
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',');
        const bool last = i == 2;
        if (last != (comma == std::string_view::npos)) return std::nullopt;
        auto part = ParseInRange(text.substr(0, comma), 0, 255);
        if (!part) return std::nullopt;
        parts[i] = *part;
        if (!last) text.remove_prefix(comma + 1);
    }
    return Color{static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
                 static_cast<std::uint8_t>(parts[2])};
}

std::optional<SkinSettings> ParseSkin(std::string_view bytes) {
    SkinSettings settings;
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) {
        settings.utf8 = true;
        bytes.remove_prefix(kBom.size());
    }
    if (bytes.size() > kMaxSkinBytes || IsBinary(bytes)) return std::nullopt;

    bool anyKnownSection = false;
    Section section = Section::None;
    while (!bytes.empty()) {
        const std::size_t eol = bytes.find('\n');
        std::string_view line = bytes.substr(0, eol);
        bytes.remove_prefix(eol == std::string_view::npos ? bytes.size() : eol + 1);
        if (line.size() > kMaxLineBytes) continue;
        line = Trim(line);
        if (!line.empty() && line.back() == '\r') line = Trim(line.substr(0, line.size() - 1));
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;

        if (line.front() == '[') {
            // A broken header must not let its keys land in the previous section.
            section = Section::None;
            if (line.back() == ']') {
                section = FindSection(Trim(line.substr(1, line.size() - 2)));
                anyKnownSection = anyKnownSection || section != Section::None;
            }
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || section == Section::None) continue;
        const std::string_view key = Trim(line.substr(0, eq));
        const std::string_view value = StripInlineComment(Trim(line.substr(eq + 1)));
        ApplyValue(settings, section, key, value);
    }
    if (!anyKnownSection) return std::nullopt;
    return settings;
}

}  // namespace skin
