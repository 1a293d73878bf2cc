// Read access to the number database file: one open connection and the prefix query on it.
#pragma once

#include "LookupResult.h"
#include "SqliteHandles.h"

#include <optional>
#include <string>
#include <string_view>

// Opens the data file read-only; nothing is created, neither the file nor anything beside it.
// A WAL-mode file is refused unless its -wal and -shm companions are there already: SQLite
// would create them to read it, and a read-only connection cannot remove them again.
// Null when the file is refused.
SqliteConnection OpenDataFile(const std::string& path);

class NumberDatabase {
public:
    // Opens the file read-only and never creates it, so a missing or write-protected file is
    // left exactly as it was. Empty when SQLite refuses the file.
    static std::optional<NumberDatabase> Open(const std::string& path);

    // Looks up one seven-byte key. LOOKUP_FOUND for exactly one row, LOOKUP_NOT_FOUND for none
    // or several, LOOKUP_NO_DATABASE when the query cannot run (no table, a missing column,
    // a damaged file, a writer's lock): that is a broken file, not an unknown number.
    LookupResult Find(std::string_view key) const;

private:
    explicit NumberDatabase(SqliteConnection connection) : m_connection(std::move(connection)) {}

    SqliteConnection m_connection;
};
