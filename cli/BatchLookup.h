// Lookups for a stream of numbers over one connection to the data file.
#pragma once

#include "LookupResult.h"
#include "NumberDatabase.h"

#include <optional>
#include <string>
#include <string_view>

// Answers exactly as LookupNumber does for each number, but keeps the file open between
// numbers. While the file cannot be opened, every number asks for it again, so a file that
// appears later in the stream is used from then on.
class BatchLookup {
public:
    explicit BatchLookup(std::string databasePath) : m_databasePath(std::move(databasePath)) {}

    LookupResult Lookup(std::string_view number);

private:
    std::string m_databasePath;
    std::optional<NumberDatabase> m_database;
};
