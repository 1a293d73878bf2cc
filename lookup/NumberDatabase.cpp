// The prefix query, shared by the single lookup and the long-lived batch reader.
#include "NumberDatabase.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

namespace {

struct SqliteTextDeleter {
    void operator()(char* text) const noexcept { sqlite3_free(text); }
};
using SqliteText = std::unique_ptr<char, SqliteTextDeleter>;

// The select names its seven columns, so the shape of the table does not matter.
enum Column { COL_ID, COL_MOBILE, COL_PROVINCE, COL_CITY, COL_TYPE, COL_PID, COL_PCODE, COLUMN_COUNT };

std::string CellText(const SqliteTable& table, int column)
{
    const char* cell = table.Cell(0, column);
    return cell ? cell : "";
}

bool Exists(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file)
        std::fclose(file);
    return file != nullptr;
}

// The header's read version is 2 for a file in WAL mode. SQLite has opened the file but not yet
// read it (that happens at the first query, which is when it would create the companions), so
// the bytes are read through its own file handle: no second open of the file.
bool IsWalFile(sqlite3* db)
{
    static const char kMagic[] = "SQLite format 3";  // with its zero byte: 16 bytes
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return false;
    unsigned char header[20] = {};
    return file->pMethods->xRead(file, header, sizeof header, 0) == SQLITE_OK &&
           std::equal(kMagic, kMagic + sizeof kMagic, header) && header[19] == 2;
}

}  // namespace

SqliteConnection OpenDataFile(const std::string& path)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    SqliteConnection connection(raw);  // owned before the result is checked: a failed open is closed too
    if (rc != SQLITE_OK || (IsWalFile(raw) && !(Exists(path + "-wal") && Exists(path + "-shm"))))
        connection.reset();
    return connection;
}

std::optional<NumberDatabase> NumberDatabase::Open(const std::string& path)
{
    SqliteConnection connection = OpenDataFile(path);
    if (!connection)
        return std::nullopt;
    return NumberDatabase(std::move(connection));
}

LookupResult NumberDatabase::Find(std::string_view key) const
{
    LookupResult result;
    // A NUL cannot travel inside an SQL literal; cut there, the literal would name another key.
    // Stored keys are digit texts, so such a key has no row.
    if (key.find('\0') != std::string_view::npos) {
        result.status = LOOKUP_NOT_FOUND;
        return result;
    }
    // %q doubles every quote, so the key reaches SQLite only as the literal's data.
    const std::string keyText(key);
    const SqliteText sql(sqlite3_mprintf(
        "SELECT id,mobile,province,city,type,pid,pcode FROM mobile where mobile ='%q'", keyText.c_str()));
    if (!sql) {
        // Out of memory: the file could not be read, which is what this outcome tells the user.
        result.status = LOOKUP_NO_DATABASE;
        return result;
    }

    SqliteTable table;
    if (table.Query(m_connection.get(), sql.get()) != SQLITE_OK) {
        result.status = LOOKUP_NO_DATABASE;
        return result;
    }
    if (table.Rows() != 1) {
        result.status = LOOKUP_NOT_FOUND;
        return result;
    }
    assert(table.Columns() == COLUMN_COUNT && "the select list fixes the column count");
    result.status = LOOKUP_FOUND;
    result.province = CellText(table, COL_PROVINCE);
    result.city = CellText(table, COL_CITY);
    result.type = CellText(table, COL_TYPE);
    result.areaCode = CellText(table, COL_PID);
    result.postCode = CellText(table, COL_PCODE);
    return result;
}
