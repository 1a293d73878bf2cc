// Fuzz target: any bytes as a skin file; the parser answers with values inside their bounds.
#include "FuzzChecks.h"
#include "SkinFile.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<skin::SkinSettings> settings = skin::ParseSkin(bytes);
    if (!settings)
        return 0;
    Require(size <= skin::kMaxSkinBytes, "an oversized file is no skin");
    if (settings->fontPoints)
        Require(*settings->fontPoints >= skin::kMinFontPoints && *settings->fontPoints <= skin::kMaxFontPoints,
                "font size within bounds");
    if (settings->fontFace)
        Require(settings->fontFace->size() <= skin::kMaxFaceBytes, "font face within bounds");
    if (settings->buttonRadius)
        Require(*settings->buttonRadius >= 0 && *settings->buttonRadius <= skin::kMaxButtonRadius, "radius within bounds");
    // The parse is a function of the bytes alone.
    const std::optional<skin::SkinSettings> again = skin::ParseSkin(bytes);
    Require(again && again->fontFace == settings->fontFace && again->fontPoints == settings->fontPoints,
            "the same bytes parse the same");
    return 0;
}
