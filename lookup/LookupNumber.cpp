// The single lookup: number test, then one open, one query and one close of the data file.
#include "LookupNumber.h"

#include "NumberDatabase.h"

namespace {
constexpr std::size_t kKeyLength = 7;
}

bool IsLookupNumber(std::string_view number)
{
    return number.size() >= kKeyLength && number[0] == '1' && (number[1] == '3' || number[1] == '5');
}

std::string_view LookupKey(std::string_view number)
{
    return number.substr(0, kKeyLength);
}

LookupResult LookupNumber(std::string_view number, const std::string& databasePath)
{
    LookupResult result;
    if (!IsLookupNumber(number)) {
        result.status = LOOKUP_BAD_NUMBER;
        return result;
    }
    const std::optional<NumberDatabase> database = NumberDatabase::Open(databasePath);
    if (!database) {
        result.status = LOOKUP_NO_DATABASE;
        return result;
    }
    return database->Find(LookupKey(number));
}

LookupResult LookupNumber(std::string_view number)
{
    return LookupNumber(number, kDefaultDatabaseName);
}
