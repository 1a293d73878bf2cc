// SkinSource: finding and reading the skin file that the caller names.
#pragma once

#include <optional>
#include <string>

namespace skin {

// Reads the file named in the ANSI code page: a relative name is looked for in the
// current directory first, then beside AppFace.dll. Nothing when there is no readable
// file of at most kMaxSkinBytes under either name.
std::optional<std::string> ReadSkinSource(const char* name);

}  // namespace skin
