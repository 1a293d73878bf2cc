// Checks shared by the fuzz targets: a failed check aborts, which the fuzzer reports as a crash.
#pragma once

#include "LookupResult.h"

#include <cstdio>
#include <cstdlib>

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// One of the four outcomes, with texts only when found.
inline bool IsDefined(const LookupResult& r)
{
    const bool empty = r.province.empty() && r.city.empty() && r.type.empty() && r.areaCode.empty() &&
                       r.postCode.empty();
    switch (r.status) {
    case LOOKUP_FOUND: return true;
    case LOOKUP_BAD_NUMBER:
    case LOOKUP_NO_DATABASE:
    case LOOKUP_NOT_FOUND: return empty;
    }
    return false;
}

inline bool SameResult(const LookupResult& a, const LookupResult& b)
{
    return a.status == b.status && a.province == b.province && a.city == b.city && a.type == b.type &&
           a.areaCode == b.areaCode && a.postCode == b.postCode;
}
