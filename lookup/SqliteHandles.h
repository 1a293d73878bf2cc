// Owners for the two SQLite resources a lookup holds: the connection and a result table.
#pragma once

#include <sqlite3.h>

#include <memory>

struct SqliteConnectionCloser {
    // Closing null is a no-op, so a connection whose open failed is released the same way.
    void operator()(sqlite3* db) const noexcept { sqlite3_close(db); }
};
using SqliteConnection = std::unique_ptr<sqlite3, SqliteConnectionCloser>;

// The table interface's result: (rows + 1) x columns text pointers, the first row the names.
class SqliteTable {
public:
    SqliteTable() = default;
    SqliteTable(const SqliteTable&) = delete;
    SqliteTable& operator=(const SqliteTable&) = delete;
    ~SqliteTable() { sqlite3_free_table(m_cells); }

    // Runs sql and keeps its result; returns SQLite's result code. A failed run leaves no rows.
    int Query(sqlite3* db, const char* sql) noexcept
    {
        sqlite3_free_table(m_cells);
        m_cells = nullptr;
        m_rows = m_columns = 0;
        const int rc = sqlite3_get_table(db, sql, &m_cells, &m_rows, &m_columns, nullptr);
        if (rc != SQLITE_OK)
            m_rows = 0;
        return rc;
    }

    int Rows() const noexcept { return m_rows; }
    int Columns() const noexcept { return m_columns; }
    // Cell of a data row (0-based, after the row of names); null for an SQL NULL.
    const char* Cell(int row, int column) const noexcept { return m_cells[(row + 1) * m_columns + column]; }

private:
    char** m_cells = nullptr;
    int m_rows = 0;
    int m_columns = 0;
};
