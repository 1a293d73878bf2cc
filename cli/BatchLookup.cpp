// The batch reader: the number test and the prefix query of the single lookup, one open.
#include "BatchLookup.h"

#include "LookupNumber.h"

LookupResult BatchLookup::Lookup(std::string_view number)
{
    LookupResult result;
    if (!IsLookupNumber(number)) {
        result.status = LOOKUP_BAD_NUMBER;
        return result;
    }
    if (!m_database)
        m_database = NumberDatabase::Open(m_databasePath);
    if (!m_database) {
        result.status = LOOKUP_NO_DATABASE;
        return result;
    }
    return m_database->Find(LookupKey(number));
}
