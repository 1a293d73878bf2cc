// Hostile number texts: a defined outcome for each, the same through LookupNumber and the batch
// tool, and the SQL that reaches SQLite always holds the key as one quoted literal.
#include "LookupNumber.h"

#include "../support/TestFiles.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

using testfiles::kMobileTable;
using testfiles::TempDir;
using testfiles::WriteBytes;
using testfiles::WriteDatabase;

namespace {

// Every statement any connection of this process prepares, recorded through an extension that
// SQLite installs on each new connection, the lookup's own included.
std::vector<std::string>& PreparedSql()
{
    static std::vector<std::string> statements;
    return statements;
}

int RecordStatement(unsigned, void*, void* statement, void*)
{
    PreparedSql().push_back(sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
    return 0;
}

int InstallRecorder(sqlite3* db, const char**, const sqlite3_api_routines*)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, RecordStatement, nullptr);
    return SQLITE_OK;
}

std::string Quoted(const std::string& key)
{
    std::string literal = "'";
    for (char c : key)
        literal += c == '\'' ? std::string("''") : std::string(1, c);
    return literal + "'";
}

const std::vector<std::string>& HostileNumbers()
{
    static const std::vector<std::string> numbers = {
        "13'''''''", "13'or'1=1", "13' OR 1=1 --", "15\"x\"yz", "13%s%n%q%", "13%%%%%", "13\\\\\\\\\\",
        "13\\'x\\'", "13\x01\x02\x1b\x7f\t", "13\r\x0b\x0c\x08\x07", "13\xff\xfe\x80\x81\xa1",
        "13\xa3\xb1\xa3\xb3\xa3", "15\xd6\xd0\xb9\xfa\xd2", "13;DROP TABLE mobile;", "13*/--/*", "13))));",
        "13" + std::string(100000, '9'), "15" + std::string(5000, '\''), "13" + std::string(5000, '%'),
        "13'or'1", "1390519"};
    return numbers;
}

TEST(HostileKeys, DefinedOutcomesAndTheKeyIsAlwaysOneLiteral)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    // Rows whose keys are hostile texts themselves: a key must find exactly its own row.
    WriteDatabase(db, std::string(kMobileTable) +
                          "INSERT INTO mobile VALUES(1,'1390519','P','C','T','1','1');"
                          "INSERT INTO mobile VALUES(2,'13''or''1','Quote','C','T','1','1');"
                          "INSERT INTO mobile VALUES(3,'13%%%%%','Percent','C','T','1','1');"
                          "INSERT INTO mobile VALUES(4,'13\\\\\\\\\\','Backslash','C','T','1','1');"
                          "INSERT INTO mobile VALUES(5,CAST(X'3133FFFE8081A1' AS TEXT),'NoGbk','C','T','1','1');");
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(InstallRecorder));

    std::string lines;
    std::vector<std::string> expectedWords;
    for (const std::string& number : HostileNumbers()) {
        PreparedSql().clear();
        const LookupResult result = LookupNumber(number, db);
        const std::string key = number.substr(0, 7);
        const bool ownRow = key == "1390519" || key == "13'or'1" || key == "13%%%%%" || key == "13\\\\\\\\\\" ||
                            key == "13\xff\xfe\x80\x81\xa1";
        EXPECT_EQ(result.status, ownRow ? LOOKUP_FOUND : LOOKUP_NOT_FOUND) << number.substr(0, 20);

        ASSERT_EQ(PreparedSql().size(), 1u) << number.substr(0, 20);
        EXPECT_EQ(PreparedSql()[0],
                  "SELECT id,mobile,province,city,type,pid,pcode FROM mobile where mobile =" + Quoted(key));
        lines += number + "\n";
        expectedWords.push_back(ownRow ? "found" : "not-found");
    }
    sqlite3_reset_auto_extension();

    // The batch tool reads the table once; the same lines must give the same answers.
    WriteBytes(dir.Path().parent_path().string() + "/" + dir.Path().filename().string() + ".in", lines);
    EXPECT_EQ(hardening::ToolStatuses(dir, db, "", dir.Path().string() + ".in"), expectedWords);
    std::remove((dir.Path().string() + ".in").c_str());
}

}  // namespace
