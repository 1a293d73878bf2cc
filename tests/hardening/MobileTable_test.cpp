// The batch tool's in-memory table against the query it stands in for: it loads only where the
// two must agree, and there they agree on every key, tricky stored keys included.
#include "LookupNumber.h"
#include "MobileTable.h"

#include "../support/TestFiles.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

using testfiles::TempDir;
using testfiles::WriteBytes;
using testfiles::WriteDatabase;

namespace {

// Stored keys that a careless copy would match wrongly: a key with a zero byte, longer and
// shorter texts, blobs and numbers that print like a key, leading zeros, case, padding, a
// duplicate, a NULL key, invalid UTF-8.
const char kTrickyRows[] =
    "INSERT INTO mobile VALUES(1,'1390519',X'BDADCBD5',X'B3A3D6DD','T','0519','213000');"
    "INSERT INTO mobile VALUES(2,'1500519','P','C','T',NULL,'213000');"
    "INSERT INTO mobile VALUES(3,'1380000','dup1','a','t','1','1');"
    "INSERT INTO mobile VALUES(4,'1380000','dup2','b','t','2','2');"
    "INSERT INTO mobile VALUES(5,CAST(X'31330039393939' AS TEXT),'Nul','C','T','1','1');"
    "INSERT INTO mobile VALUES(6,'13900001','Long','C','T','1','1');"
    "INSERT INTO mobile VALUES(7,'139000','Short','C','T','1','1');"
    "INSERT INTO mobile VALUES(8,X'31333931313131','Blob','C','T','1','1');"
    "INSERT INTO mobile VALUES(9,1392222,'Number','C','T','1','1');"
    "INSERT INTO mobile VALUES(10,'13abcde','Lower','C','T','1','1');"
    "INSERT INTO mobile VALUES(11,' 137000','Padded','C','T','1','1');"
    "INSERT INTO mobile VALUES(12,NULL,'NullKey','C','T','1','1');"
    "INSERT INTO mobile VALUES(13,CAST(X'3135FF80A1A2A3' AS TEXT),'NoUtf8','C','T','1','1');"
    "INSERT INTO mobile VALUES(14,'1351111',CAST(X'41004243' AS TEXT),12.5,X'54','010',0);"
    "INSERT INTO mobile VALUES(15,'1390001.0','Real','C','T','1','1');";

std::vector<std::string> Keys()
{
    std::vector<std::string> keys = {"1390519", "1500519", "1380000", std::string("13\0" "9999", 7), "1390000",
                                     "1391111", "1392222", "13abcde", "13ABCDE", "1370000",
                                     "15\xff\x80\xa1\xa2\xa3", "1351111", "1390001", "13'or'1", "139051 "};
    std::mt19937 random(99);
    for (int i = 0; i < 300; ++i)
        keys.push_back((i % 2 ? "13" : "15") + std::to_string(10000 + random() % 90000));
    return keys;
}

std::vector<std::string> Texts(const LookupResult& r)
{
    return {std::to_string(r.status), r.province, r.city, r.type, r.areaCode, r.postCode};
}

struct SchemaCase {
    const char* name;
    const char* table;  // CREATE TABLE (or what stands for it) named mobile
    bool loads;         // whether the in-memory table may stand in for the query
};

class InMemoryTable : public ::testing::TestWithParam<SchemaCase> {};

TEST_P(InMemoryTable, AgreesWithTheQueryOnEveryKey)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    WriteDatabase(db, std::string(GetParam().table) + kTrickyRows);

    Utf8FromGbk utf8;
    const std::optional<MobileTable> table = MobileTable::Load(db, utf8);
    EXPECT_EQ(table.has_value(), GetParam().loads);

    std::string lines;
    std::vector<std::string> expectedWords;
    for (const std::string& key : Keys()) {
        const LookupResult expected = LookupNumber(key, db);
        if (table) {
            EXPECT_EQ(Texts(table->Find(key).result), Texts(expected)) << key;
        }
        if (key.find('\0') == std::string::npos) {
            lines += key + "\n";
            expectedWords.push_back(expected.status == LOOKUP_FOUND ? "found" : "not-found");
        }
    }
    // Whichever path the tool takes, it prints what LookupNumber says.
    const std::string in = dir.Path().string() + ".in";
    WriteBytes(in, lines);
    EXPECT_EQ(hardening::ToolStatuses(dir, db, "", in), expectedWords);
    std::remove(in.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Schemas, InMemoryTable,
    ::testing::Values(
        SchemaCase{"PlainText", "CREATE TABLE mobile(id INTEGER PRIMARY KEY, mobile TEXT, province, city, type, pid, pcode);", true},
        SchemaCase{"UniqueIndexed", "CREATE TABLE mobile(id INTEGER PRIMARY KEY, mobile TEXT, province, city, type, pid, pcode);"
                                    "CREATE INDEX byMobile ON mobile(mobile);", true},
        SchemaCase{"Varchar", "CREATE TABLE mobile(id, mobile VARCHAR(7), province, city, type, pid, pcode);", true},
        SchemaCase{"Untyped", "CREATE TABLE mobile(id, mobile, province, city, type, pid, pcode);", true},
        SchemaCase{"IntegerKey", "CREATE TABLE mobile(id, mobile INTEGER, province, city, type, pid, pcode);", false},
        SchemaCase{"NumericKey", "CREATE TABLE mobile(id, mobile NUMERIC, province, city, type, pid, pcode);", false},
        SchemaCase{"RealKey", "CREATE TABLE mobile(id, mobile REAL, province, city, type, pid, pcode);", false},
        SchemaCase{"NocaseKey", "CREATE TABLE mobile(id, mobile TEXT COLLATE NOCASE, province, city, type, pid, pcode);", false},
        SchemaCase{"RtrimKey", "CREATE TABLE mobile(id, mobile TEXT COLLATE RTRIM, province, city, type, pid, pcode);", false},
        SchemaCase{"Utf16File", "PRAGMA encoding='UTF-16le';"
                                "CREATE TABLE mobile(id, mobile TEXT, province, city, type, pid, pcode);", false},
        SchemaCase{"View", "CREATE TABLE rows(id, mobile TEXT, province, city, type, pid, pcode);"
                           "CREATE VIEW mobile AS SELECT * FROM rows;"
                           "CREATE TEMP TRIGGER into_rows INSTEAD OF INSERT ON mobile BEGIN"
                           " INSERT INTO rows VALUES(NEW.id, NEW.mobile, NEW.province, NEW.city, NEW.type, NEW.pid, NEW.pcode); END;",
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
