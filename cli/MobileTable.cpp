// The in-memory number table and the schema test that decides whether it may stand in for the query.
#include "MobileTable.h"

#include "NumberDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <utility>

namespace {

constexpr std::size_t kKeyLength = 7;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

Statement Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    Statement statement(raw);
    if (rc != SQLITE_OK)
        statement.reset();
    return statement;
}

std::uint64_t PackKey(std::string_view key)
{
    std::uint64_t packed = 0;
    for (std::size_t i = 0; i < kKeyLength; ++i)
        packed |= std::uint64_t{static_cast<unsigned char>(key[i])} << (8 * i);
    return packed;
}

std::uint64_t Slot(std::uint64_t packedKey, std::uint64_t mask)
{
    return (packedKey * 0x9E3779B97F4A7C15ull >> 20) & mask;  // Fibonacci hashing spreads digit keys
}

std::string Upper(const char* text)
{
    std::string upper = text ? text : "";
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// SQLite derives a column's affinity from its declared type by these substring rules, in this
// order. Only text and none (blob) affinity leave the quoted key a text that is compared byte
// by byte; an integer, real or numeric column would turn '0139051' into the number 139051.
bool KeyComparesAsText(const char* declaredType)
{
    const std::string type = Upper(declaredType);
    const auto has = [&type](const char* part) { return type.find(part) != std::string::npos; };
    if (has("INT"))
        return false;
    if (has("CHAR") || has("CLOB") || has("TEXT"))
        return true;
    return type.empty() || has("BLOB");
}

bool IsPlainTable(sqlite3* db)
{
    // In a UTF-16 file the key is converted, and bytes that are no UTF-8 convert lossily.
    const Statement encoding = Prepare(db, "PRAGMA encoding");
    if (!encoding || sqlite3_step(encoding.get()) != SQLITE_ROW)
        return false;
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(encoding.get(), 0));
    if (!name || std::strcmp(name, "UTF-8") != 0)
        return false;

    // A view's or a virtual table's column may compare in ways its declaration does not show.
    const Statement schema =
        Prepare(db, "SELECT type, sql LIKE 'CREATE VIRTUAL%' FROM sqlite_master WHERE name = 'mobile' COLLATE NOCASE");
    if (!schema || sqlite3_step(schema.get()) != SQLITE_ROW)
        return false;
    const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(schema.get(), 0));
    if (!type || std::strcmp(type, "table") != 0 || sqlite3_column_int(schema.get(), 1) != 0)
        return false;
    if (sqlite3_step(schema.get()) != SQLITE_DONE)
        return false;

    const char* declaredType = nullptr;
    const char* collation = nullptr;
    if (sqlite3_table_column_metadata(db, "main", "mobile", "mobile", &declaredType, &collation, nullptr, nullptr,
                                      nullptr) != SQLITE_OK)
        return false;
    return KeyComparesAsText(declaredType) && collation && Upper(collation) == "BINARY";
}

// In a damaged file an index can disagree with its table: the query seeks the index, while
// loading scans the table, so only a sound file may be read whole.
bool IsSound(sqlite3* db)
{
    const Statement check = Prepare(db, "PRAGMA integrity_check(1)");
    if (!check || sqlite3_step(check.get()) != SQLITE_ROW)
        return false;
    const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
    return verdict && std::strcmp(verdict, "ok") == 0;
}

// The table interface hands every value over as sqlite3_column_text does, cut at its first
// zero byte, and a NULL as no text.
std::string CellText(sqlite3_stmt* row, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
    return text ? text : "";
}

enum Column { COL_ID, COL_MOBILE, COL_PROVINCE, COL_CITY, COL_TYPE, COL_PID, COL_PCODE };

}  // namespace

MobileTable::MobileTable(Utf8FromGbk& utf8)
{
    LookupResult notFound;
    notFound.status = LOOKUP_NOT_FOUND;
    m_answers.push_back(MakeAnswer(notFound, utf8));
}

std::optional<MobileTable> MobileTable::Load(const std::string& path, Utf8FromGbk& utf8)
{
    const SqliteConnection connection = OpenDataFile(path);
    if (!connection)
        return std::nullopt;
    sqlite3* db = connection.get();
    // One read transaction, so the schema that was checked is the schema that is read.
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK || !IsPlainTable(db) || !IsSound(db))
        return std::nullopt;

    // The same seven columns as the lookup's query, so a file that query fails on fails here.
    const Statement rows = Prepare(db, "SELECT id,mobile,province,city,type,pid,pcode FROM mobile");
    if (!rows)
        return std::nullopt;

    MobileTable table(utf8);
    std::unordered_map<std::string, std::uint32_t> answerIndex;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> keys;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(rows.get())) == SQLITE_ROW) {
        // Equality with a seven-byte text literal holds only for a text of the same seven
        // bytes; a key with a zero byte is never asked for (the lookup refuses such keys).
        if (sqlite3_column_type(rows.get(), COL_MOBILE) != SQLITE_TEXT)
            continue;
        const auto* keyBytes = static_cast<const char*>(sqlite3_column_blob(rows.get(), COL_MOBILE));
        const std::string_view key(keyBytes, static_cast<std::size_t>(sqlite3_column_bytes(rows.get(), COL_MOBILE)));
        if (key.size() != kKeyLength || key.find('\0') != std::string_view::npos)
            continue;

        LookupResult found;
        found.status = LOOKUP_FOUND;
        found.province = CellText(rows.get(), COL_PROVINCE);
        found.city = CellText(rows.get(), COL_CITY);
        found.type = CellText(rows.get(), COL_TYPE);
        found.areaCode = CellText(rows.get(), COL_PID);
        found.postCode = CellText(rows.get(), COL_PCODE);
        // Zero bytes cannot occur inside the texts, so they separate them unambiguously.
        std::string texts = found.province + '\0' + found.city + '\0' + found.type + '\0' + found.areaCode + '\0' +
                            found.postCode;
        const auto [answer, isNew] =
            answerIndex.emplace(std::move(texts), static_cast<std::uint32_t>(table.m_answers.size()));
        if (isNew)
            table.m_answers.push_back(MakeAnswer(std::move(found), utf8));

        keys.emplace_back(PackKey(key), answer->second);
    }
    if (step != SQLITE_DONE)
        return std::nullopt;

    std::size_t slots = 16;
    while (slots < 2 * keys.size())
        slots *= 2;
    table.m_slotKeys.assign(slots, 0);
    table.m_slotAnswers.assign(slots, 0);
    table.m_slotMask = slots - 1;
    for (const auto& [packed, answer] : keys) {
        std::uint64_t slot = Slot(packed, table.m_slotMask);
        while (table.m_slotKeys[slot] != 0 && table.m_slotKeys[slot] != packed)
            slot = (slot + 1) & table.m_slotMask;
        // A prefix listed twice is not found, as the query's row count says.
        table.m_slotAnswers[slot] = table.m_slotKeys[slot] == packed ? 0 : answer;
        table.m_slotKeys[slot] = packed;
    }
    return table;
}

const BatchAnswer& MobileTable::Find(std::string_view key) const
{
    if (key.size() != kKeyLength || key.find('\0') != std::string_view::npos)
        return m_answers[0];
    const std::uint64_t packed = PackKey(key);
    for (std::uint64_t slot = Slot(packed, m_slotMask);; slot = (slot + 1) & m_slotMask) {
        if (m_slotKeys[slot] == packed)
            return m_answers[m_slotAnswers[slot]];
        if (m_slotKeys[slot] == 0)
            return m_answers[0];
    }
}
