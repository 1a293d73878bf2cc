// LookupNumber: from the number text as typed to a LookupResult.
#pragma once

#include "LookupResult.h"

#include <string>
#include <string_view>

// The data file's bare name, resolved against the current directory at each lookup.
inline constexpr const char* kDefaultDatabaseName = "mobile.dat";

// True when the text may be looked up: at least seven bytes, starting with 13 or 15.
// Nothing else is tested and nothing is trimmed.
bool IsLookupNumber(std::string_view number);

// The lookup key: the first seven bytes of a text that passed IsLookupNumber.
std::string_view LookupKey(std::string_view number);

// Tests the number, then opens the data file read-only, queries its first seven bytes and
// closes the file again; nothing is kept between calls.
LookupResult LookupNumber(std::string_view number, const std::string& databasePath);
LookupResult LookupNumber(std::string_view number);
