// The batch reader: the number test of the single lookup, then the in-memory table or the query.
#include "BatchLookup.h"

#include "LookupNumber.h"

namespace {

LookupResult WithStatus(LookupStatus status)
{
    LookupResult result;
    result.status = status;
    return result;
}

}  // namespace

BatchLookup::BatchLookup(std::string databasePath)
    : m_databasePath(std::move(databasePath)),
      m_badNumber(MakeAnswer(WithStatus(LOOKUP_BAD_NUMBER), m_utf8)),
      m_noDatabase(MakeAnswer(WithStatus(LOOKUP_NO_DATABASE), m_utf8))
{
}

const BatchAnswer& BatchLookup::Lookup(std::string_view number)
{
    if (!IsLookupNumber(number))
        return m_badNumber;
    if (!m_table && !m_database) {
        m_table = MobileTable::Load(m_databasePath, m_utf8);
        if (!m_table)
            m_database = NumberDatabase::Open(m_databasePath);
    }
    if (m_table)
        return m_table->Find(LookupKey(number));
    if (!m_database)
        return m_noDatabase;
    m_queried.result = m_database->Find(LookupKey(number));
    m_queried.fields = AnswerFields(m_queried.result, m_utf8);
    return m_queried;
}
