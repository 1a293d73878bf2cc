// LookupNumber against small data files made per test: number test, key, outcomes, file safety.
#include "LookupNumber.h"

#include "../support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using testfiles::kMobileTable;
using testfiles::ReadBytes;
using testfiles::TempDir;
using testfiles::WriteBytes;
using testfiles::WriteDatabase;

namespace {

// GBK bytes, as the data file stores them.
const std::string kJiangsu = "\xBD\xAD\xCB\xD5";       // 江苏
const std::string kChangzhou = "\xB3\xA3\xD6\xDD";     // 常州
const std::string kMobileCo = "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF";  // 中国移动

std::string FixtureSql()
{
    return std::string(kMobileTable) +
           "INSERT INTO mobile VALUES(1,'1390519',X'" "BDADCBD5" "',X'B3A3D6DD',X'D6D0B9FAD2C6B6AF','0519','213000');"
           "INSERT INTO mobile VALUES(2,'1500519','P','C','T','0519','213000');"
           "INSERT INTO mobile VALUES(3,'1380000','dup1','a','t','1','1');"
           "INSERT INTO mobile VALUES(4,'1380000','dup2','b','t','2','2');"
           "INSERT INTO mobile VALUES(5,'1350000','P','C','T',NULL,'100000');"
           "INSERT INTO mobile VALUES(6,'1360000','P','C','T',10,100000);"
           "INSERT INTO mobile VALUES(7,'1370000','  P ',' C','T ','010 ','100000');"
           "INSERT INTO mobile VALUES(8,' 1371111','P','C','T','010','100000');";
}

struct Expected {
    LookupStatus status;
    std::vector<std::string> texts;  // province, city, type, area code, postal code
};

std::vector<std::string> Texts(const LookupResult& r)
{
    return {r.province, r.city, r.type, r.areaCode, r.postCode};
}

const std::vector<std::string> kNone(5);
const std::vector<std::string> kChangzhouRow = {kJiangsu, kChangzhou, kMobileCo, "0519", "213000"};

struct NumberCase {
    const char* name;
    std::string number;
    Expected expected;
};

class LookupCases : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LookupCases, GivesTheDocumentedOutcome)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    WriteDatabase(db, FixtureSql());

    const LookupResult result = LookupNumber(GetParam().number, db);
    EXPECT_EQ(result.status, GetParam().expected.status);
    EXPECT_EQ(Texts(result), GetParam().expected.texts);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, LookupCases,
    ::testing::Values(
        NumberCase{"SevenDigits139", "1390519", {LOOKUP_FOUND, kChangzhouRow}},
        NumberCase{"ElevenDigitsUseFirstSeven", "13905191234", {LOOKUP_FOUND, kChangzhouRow}},
        NumberCase{"ThirtyDigits", "139051912345678901234567890123", {LOOKUP_FOUND, kChangzhouRow}},
        NumberCase{"Range15", "15005199999", {LOOKUP_FOUND, {"P", "C", "T", "0519", "213000"}}},
        NumberCase{"SixDigits", "139051", {LOOKUP_BAD_NUMBER, kNone}},
        NumberCase{"Empty", "", {LOOKUP_BAD_NUMBER, kNone}},
        NumberCase{"StartsWith2", "2390519", {LOOKUP_BAD_NUMBER, kNone}},
        NumberCase{"StartsWith14", "1490519", {LOOKUP_BAD_NUMBER, kNone}},
        NumberCase{"StartsWith18", "1890519", {LOOKUP_BAD_NUMBER, kNone}},
        NumberCase{"LeadingBlankNotTrimmed", " 13905191234", {LOOKUP_BAD_NUMBER, kNone}},
        NumberCase{"FullWidthDigits", "\xA3\xB1\xA3\xB3\xA3\xB9\xA3\xB0", {LOOKUP_BAD_NUMBER, kNone}},
        NumberCase{"LettersAfter13", "13abcde", {LOOKUP_NOT_FOUND, kNone}},
        NumberCase{"UnknownPrefix", "1399999", {LOOKUP_NOT_FOUND, kNone}},
        NumberCase{"PrefixListedTwice", "1380000", {LOOKUP_NOT_FOUND, kNone}},
        NumberCase{"NullAreaCode", "1350000", {LOOKUP_FOUND, {"P", "C", "T", "", "100000"}}},
        NumberCase{"IntegerCodesAsDecimalText", "1360000", {LOOKUP_FOUND, {"P", "C", "T", "10", "100000"}}},
        NumberCase{"CellsNotTrimmed", "1370000", {LOOKUP_FOUND, {"  P ", " C", "T ", "010 ", "100000"}}},
        NumberCase{"StoredKeyWithBlankNeverMatches", "1371111", {LOOKUP_NOT_FOUND, kNone}},
        NumberCase{"NulInsideKey", std::string("13\0" "9999", 7), {LOOKUP_NOT_FOUND, kNone}}),
    [](const auto& info) { return std::string(info.param.name); });

// The key is data: a quote in it can neither break the query nor select other rows.
TEST(LookupKeyAsData, QuotesAndPercentSignsMatchOnlyThemselves)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    WriteDatabase(db, std::string(kMobileTable) +
                          "INSERT INTO mobile VALUES(1,'1390519','P','C','T','0519','213000');");
    for (const char* key : {"13'or'1", "13' OR 1=1 --", "13%q%s%", "13\\'\\'x", "13''''''", "13'xxxx", "13\"or\"1"}) {
        const LookupResult result = LookupNumber(key, db);
        EXPECT_EQ(result.status, LOOKUP_NOT_FOUND) << key;
    }

    WriteDatabase(db, "INSERT INTO mobile VALUES(2,'13''or''1','Q','C','T','1','1');");
    const LookupResult quoted = LookupNumber("13'or'12345", db);
    EXPECT_EQ(quoted.status, LOOKUP_FOUND);
    EXPECT_EQ(quoted.province, "Q");
}

// What cannot be read as the number table is a broken file, never an unknown number.
struct BrokenFileCase {
    const char* name;
    void (*make)(const std::string& path);
};

std::vector<std::string> Listing(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class BrokenFiles : public ::testing::TestWithParam<BrokenFileCase> {};

TEST_P(BrokenFiles, GiveNoDatabaseAndStayUnchanged)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    GetParam().make(db);
    const bool isFile = std::filesystem::is_regular_file(db);
    const std::string before = isFile ? ReadBytes(db) : "";
    const auto listingBefore = Listing(dir.Path());

    EXPECT_EQ(LookupNumber("13905191234", db).status, LOOKUP_NO_DATABASE);
    EXPECT_EQ(LookupNumber("13905191234", db).status, LOOKUP_NO_DATABASE);

    if (isFile) {
        EXPECT_EQ(ReadBytes(db), before);
    }
    EXPECT_EQ(Listing(dir.Path()), listingBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenFiles,
    ::testing::Values(
        BrokenFileCase{"Missing", [](const std::string&) {}},
        BrokenFileCase{"Directory", [](const std::string& p) { std::filesystem::create_directory(p); }},
        BrokenFileCase{"ZeroBytes", [](const std::string& p) { WriteBytes(p, ""); }},
        BrokenFileCase{"NotADatabase", [](const std::string& p) { WriteBytes(p, std::string(4096, 'x')); }},
        BrokenFileCase{"TruncatedHeader",
                       [](const std::string& p) {
                           WriteDatabase(p, std::string(kMobileTable) + "INSERT INTO mobile VALUES(1,'1390519','P','C','T','1','1');");
                           WriteBytes(p, ReadBytes(p).substr(0, 50));
                       }},
        BrokenFileCase{"NoMobileTable", [](const std::string& p) { WriteDatabase(p, "CREATE TABLE other(x);"); }},
        BrokenFileCase{"MissingColumn",
                       [](const std::string& p) {
                           WriteDatabase(p, "CREATE TABLE mobile(mobile TEXT, province, city, type, pid, pcode);"
                                            "INSERT INTO mobile VALUES('1390519','P','C','T','1','1');");
                       }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataFile, MissingFileIsNeverCreated)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    EXPECT_EQ(LookupNumber("13905191234", db).status, LOOKUP_NO_DATABASE);
    EXPECT_FALSE(std::filesystem::exists(db));
}

TEST(DataFile, RefusedNumberDoesNotTouchTheFile)
{
    TempDir dir;
    // Even with no file at all the answer is about the number.
    EXPECT_EQ(LookupNumber("139051", dir.File("mobile.dat")).status, LOOKUP_BAD_NUMBER);
}

TEST(DataFile, LookupsLeaveTheBytesAsTheyWere)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    WriteDatabase(db, FixtureSql());
    const std::string before = ReadBytes(db);
    for (const char* number : {"1390519", "1380000", "1399999", "13'or'1"})
        LookupNumber(number, db);
    EXPECT_EQ(ReadBytes(db), before);
    EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"mobile.dat"});
}

TEST(DataFile, WriteProtectedFileAndFolderWork)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    WriteDatabase(db, FixtureSql());
    namespace fs = std::filesystem;
    fs::permissions(db, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    fs::permissions(dir.Path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(LookupNumber("1390519", db).status, LOOKUP_FOUND);
}

TEST(DataFile, FileLockedByWriterIsNoDatabase)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    WriteDatabase(db, FixtureSql());
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; DELETE FROM mobile;", nullptr, nullptr, nullptr), SQLITE_OK);

    EXPECT_EQ(LookupNumber("1390519", db).status, LOOKUP_NO_DATABASE);

    sqlite3_exec(writer, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    EXPECT_EQ(LookupNumber("1390519", db).status, LOOKUP_FOUND);
}

TEST(DataFile, ReplacedFileIsSeenByTheNextLookup)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    WriteDatabase(db, FixtureSql());
    EXPECT_EQ(LookupNumber("1390519", db).province, kJiangsu);

    const std::string next = dir.File("next.dat");
    WriteDatabase(next, std::string(kMobileTable) + "INSERT INTO mobile VALUES(1,'1390519','New','C','T','1','1');");
    std::filesystem::rename(next, db);
    EXPECT_EQ(LookupNumber("1390519", db).province, "New");
}

TEST(DataFile, PlainFormUsesMobileDatInTheCurrentDirectory)
{
    TempDir here;
    TempDir elsewhere;
    WriteDatabase(here.File("mobile.dat"), FixtureSql());
    const auto previous = std::filesystem::current_path();

    std::filesystem::current_path(here.Path());
    const LookupResult found = LookupNumber("13905191234");
    std::filesystem::current_path(elsewhere.Path());
    const LookupResult missing = LookupNumber("13905191234");
    std::filesystem::current_path(previous);

    EXPECT_EQ(found.status, LOOKUP_FOUND);
    EXPECT_EQ(missing.status, LOOKUP_NO_DATABASE);
    EXPECT_FALSE(std::filesystem::exists(elsewhere.File("mobile.dat")));
}

}  // namespace
