// Lookups for a stream of numbers: the table read once into memory, or one connection.
#pragma once

#include "AnswerFields.h"
#include "MobileTable.h"
#include "NumberDatabase.h"
#include "Utf8FromGbk.h"

#include <optional>
#include <string>
#include <string_view>

// Answers exactly as LookupNumber does for each number. A plain number table (see
// MobileTable::Load) is read into memory at the first number that needs the file, and the
// batch answers from the file as it was then; any other file is kept open and asked per
// number. While the file cannot be opened, every number asks for it again, so a file that
// appears later in the stream is used from then on.
class BatchLookup {
public:
    explicit BatchLookup(std::string databasePath);

    // The answer stays valid until the next call.
    const BatchAnswer& Lookup(std::string_view number);

private:
    std::string m_databasePath;
    Utf8FromGbk m_utf8;
    std::optional<MobileTable> m_table;
    std::optional<NumberDatabase> m_database;
    BatchAnswer m_badNumber;
    BatchAnswer m_noDatabase;
    BatchAnswer m_queried;
};
