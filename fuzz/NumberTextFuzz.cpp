// Fuzz target: any number text against the real data file, through LookupNumber and the batch reader.
#include "BatchLookup.h"
#include "FuzzChecks.h"
#include "LookupNumber.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The built data file; MOBILE_DAT points elsewhere, e.g. at a smaller file of the same shape.
std::string DataFile()
{
    const char* path = std::getenv("MOBILE_DAT");
    return path ? path : TESSARON_MOBILE_DAT;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (std::FILE* file = std::fopen(DataFile().c_str(), "rb")) {
        std::fclose(file);
        return 0;
    }
    std::fprintf(stderr, "no data file at %s: skipped\n", DataFile().c_str());
    std::exit(77);  // the tests' skip code
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static BatchLookup batch(DataFile());
    const std::string_view number(reinterpret_cast<const char*>(data), size);

    const LookupResult single = LookupNumber(number, DataFile());
    Require(IsDefined(single), "a defined outcome");
    Require(single.status != LOOKUP_NO_DATABASE, "the data file stays readable");
    Require(SameResult(single, batch.Lookup(number).result), "the batch answers as LookupNumber does");
    return 0;
}
