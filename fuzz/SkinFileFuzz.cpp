// Fuzz target: any bytes as a skin file; the parser answers with values inside their bounds.
#include "FuzzChecks.h"
#include "SkinFile.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<skin::SkinSpec> spec = skin::ParseSkin(bytes);
    if (!spec)
        return 0;
    Require(size <= skin::kMaxSkinBytes, "an oversized file is no skin");
    if (spec->fontPoints)
        Require(*spec->fontPoints >= skin::kMinFontPoints && *spec->fontPoints <= skin::kMaxFontPoints,
                "font size within bounds");
    if (spec->fontFace)
        Require(spec->fontFace->size() <= skin::kMaxFaceBytes, "font face within bounds");
    if (spec->buttonRadius)
        Require(*spec->buttonRadius >= 0 && *spec->buttonRadius <= skin::kMaxButtonRadius, "radius within bounds");
    // The parse is a function of the bytes alone.
    const std::optional<skin::SkinSpec> again = skin::ParseSkin(bytes);
    Require(again && again->fontFace == spec->fontFace && again->fontPoints == spec->fontPoints,
            "the same bytes parse the same");
    return 0;
}
