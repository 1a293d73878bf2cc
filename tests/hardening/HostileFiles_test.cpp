// A corpus of hostile data files, made per test, each looked up through LookupNumber and through
// mobile-lookup: one defined outcome each, no hang, and the files and their folder unchanged.
#include "LookupNumber.h"

#include "../support/TestFiles.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

using testfiles::kMobileTable;
using testfiles::ReadBytes;
using testfiles::TempDir;
using testfiles::WriteBytes;
using testfiles::WriteDatabase;
namespace fs = std::filesystem;

namespace {

const char kNumber[] = "13905191234";

// The number's row and enough others to fill several 1 KiB pages, so a cut can fall mid-page.
std::string ValidSql(const std::string& table = kMobileTable)
{
    std::string sql = "PRAGMA page_size=1024;" + table +
                      "INSERT INTO mobile VALUES(1,'1390519',X'BDADCBD5',X'B3A3D6DD','T','0519','213000');";
    for (int i = 0; i < 300; ++i)
        sql += "INSERT INTO mobile VALUES(" + std::to_string(i + 2) + ",'150" + std::to_string(1000 + i) +
               "','Province','City','Type','0100','100000');";
    return sql;
}

void MakeValid(const std::string& path)
{
    WriteDatabase(path, ValidSql());
}

// A child process that runs sql on the file, says so through a pipe and keeps its connection
// (and any transaction) until the test ends.
class Holder {
public:
    Holder(const std::string& path, const std::string& sql)
    {
        int ready[2];
        int release[2];
        if (pipe(ready) != 0 || pipe(release) != 0)
            return;
        m_child = fork();
        if (m_child == 0) {
            close(ready[0]);
            close(release[1]);  // else the read below never sees the test's end close
            sqlite3* db = nullptr;
            const bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                            sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
            const char answer = ok ? '1' : '0';
            (void)!write(ready[1], &answer, 1);
            char ignored;
            (void)!read(release[0], &ignored, 1);  // returns when the test closes its end
            _exit(0);  // without closing: a crashed holder leaves its files as they are
        }
        close(ready[1]);
        close(release[0]);
        m_release = release[1];
        char answer = '0';
        m_ready = read(ready[0], &answer, 1) == 1 && answer == '1';
        close(ready[0]);
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    ~Holder()
    {
        if (m_child > 0) {
            close(m_release);
            waitpid(m_child, nullptr, 0);
        }
    }
    bool Ready() const { return m_ready; }

private:
    pid_t m_child = -1;
    int m_release = -1;
    bool m_ready = false;
};

std::map<std::string, std::string> Snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        // SQLite's shared-memory index is scratch space that readers write by design.
        files[name] = entry.is_regular_file() && name.find("-shm") == std::string::npos ? ReadBytes(entry.path().string())
                                                                                        : "";
    }
    return files;
}

struct FileCase {
    const char* name;
    std::function<void(const std::string& path)> make;
    LookupStatus expected;
    // Work done around the lookups: a process holding the file, kept while the lookups run.
    std::function<std::unique_ptr<Holder>(const std::string& path)> hold = nullptr;
};

const char* Word(LookupStatus status)
{
    switch (status) {
    case LOOKUP_FOUND: return "found";
    case LOOKUP_BAD_NUMBER: return "bad-number";
    case LOOKUP_NO_DATABASE: return "no-database";
    case LOOKUP_NOT_FOUND: return "not-found";
    }
    return "?";
}

class HostileFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(HostileFiles, OneOutcomeAndNothingChanged)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    GetParam().make(db);
    std::unique_ptr<Holder> holder;
    if (GetParam().hold) {
        holder = GetParam().hold(db);
        ASSERT_TRUE(holder->Ready()) << "the holding process could not start";
    }
    const auto before = Snapshot(dir.Path());

    for (int round = 0; round < 2; ++round) {
        const LookupResult result = LookupNumber(kNumber, db);
        EXPECT_EQ(result.status, GetParam().expected) << "round " << round;
        if (result.status != LOOKUP_FOUND) {
            EXPECT_EQ(result.province + result.city + result.type + result.areaCode + result.postCode, "");
        }
    }
    // Twice in one batch: the second line must not depend on what the first left open.
    EXPECT_EQ(hardening::ToolStatuses(dir, db, std::string(kNumber) + " " + kNumber),
              std::vector<std::string>(2, Word(GetParam().expected)));

    EXPECT_EQ(Snapshot(dir.Path()), before);
}

void Truncate(const std::string& path, double fraction)
{
    const std::string bytes = ReadBytes(path);
    WriteBytes(path, bytes.substr(0, static_cast<std::size_t>(bytes.size() * fraction)));
}

std::string RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

const char kWalTable[] = "PRAGMA journal_mode=WAL;";

INSTANTIATE_TEST_SUITE_P(
    Corpus, HostileFiles,
    ::testing::Values(
        FileCase{"Missing", [](const std::string&) {}, LOOKUP_NO_DATABASE},
        FileCase{"DirectoryNamedMobileDat", [](const std::string& p) { fs::create_directory(p); }, LOOKUP_NO_DATABASE},
        FileCase{"ZeroBytes", [](const std::string& p) { WriteBytes(p, ""); }, LOOKUP_NO_DATABASE},
        FileCase{"TruncatedMidPage",
                 [](const std::string& p) {
                     MakeValid(p);
                     Truncate(p, 0.5);  // 1 KiB pages: half of an odd page count cuts one in two
                 },
                 LOOKUP_NO_DATABASE},
        FileCase{"RandomBytes", [](const std::string& p) { WriteBytes(p, RandomBytes(8192, 1)); }, LOOKUP_NO_DATABASE},
        FileCase{"ValidHeaderOverGarbage",
                 [](const std::string& p) {
                     MakeValid(p);
                     const std::string bytes = ReadBytes(p);
                     WriteBytes(p, bytes.substr(0, 100) + RandomBytes(bytes.size() - 100, 2));
                 },
                 LOOKUP_NO_DATABASE},
        FileCase{"NoTableMobile", [](const std::string& p) { WriteDatabase(p, "CREATE TABLE other(x);"); },
                 LOOKUP_NO_DATABASE},
        FileCase{"MissingColumn",
                 [](const std::string& p) {
                     WriteDatabase(p, "CREATE TABLE mobile(id, mobile, province, city, type, pid);"
                                      "INSERT INTO mobile VALUES(1,'1390519','P','C','T','1');");
                 },
                 LOOKUP_NO_DATABASE},
        FileCase{"ExtraColumnsAndTables",
                 [](const std::string& p) {
                     WriteDatabase(p, "CREATE TABLE before(x); CREATE TABLE mobile(extra0, pcode, pid, type, city,"
                                      " province, mobile, id, extra1); CREATE TABLE after(y);"
                                      "INSERT INTO mobile VALUES(0,'1','2','T','C','P','1390519',1,9);");
                 },
                 LOOKUP_FOUND},
        FileCase{"NullCells",
                 [](const std::string& p) {
                     WriteDatabase(p, std::string(kMobileTable) +
                                          "INSERT INTO mobile VALUES(NULL,'1390519',NULL,NULL,NULL,NULL,NULL);");
                 },
                 LOOKUP_FOUND},
        FileCase{"IntegerAreaCode",
                 [](const std::string& p) {
                     WriteDatabase(p, std::string(kMobileTable) + "INSERT INTO mobile VALUES(1,'1390519','P','C','T',10,100000);");
                 },
                 LOOKUP_FOUND},
        FileCase{"DuplicatedPrefix",
                 [](const std::string& p) {
                     WriteDatabase(p, ValidSql() + "INSERT INTO mobile VALUES(999,'1390519','Q','C','T','1','1');");
                 },
                 LOOKUP_NOT_FOUND},
        FileCase{"ViewNamedMobile",
                 [](const std::string& p) {
                     WriteDatabase(p, ValidSql() + "ALTER TABLE mobile RENAME TO rows; CREATE VIEW mobile AS SELECT * FROM rows;");
                 },
                 LOOKUP_FOUND},
        // A full-text table has a hidden column named as the table itself: "mobile" is then no
        // stored column, the query runs and matches nothing.
        FileCase{"VirtualTableNamedMobile",
                 [](const std::string& p) {
                     WriteDatabase(p, "CREATE VIRTUAL TABLE mobile USING fts4(id, province, city, type, pid, pcode);"
                                      "INSERT INTO mobile VALUES(1,'P','C','T','1','1');");
                 },
                 LOOKUP_NOT_FOUND},
        FileCase{"HeldByAnotherProcesssWriter", MakeValid, LOOKUP_NO_DATABASE,
                 [](const std::string& p) {
                     return std::make_unique<Holder>(p, "BEGIN EXCLUSIVE; DELETE FROM mobile;");
                 }},
        FileCase{"HeldByReaderOnly", MakeValid, LOOKUP_FOUND,
                 [](const std::string& p) {
                     return std::make_unique<Holder>(p, "BEGIN; SELECT count(*) FROM mobile;");
                 }},
        // Reading a WAL-mode file needs its -wal and -shm; without them it is refused rather than
        // have them created beside it.
        FileCase{"WalModeWithoutCompanions", [](const std::string& p) { WriteDatabase(p, kWalTable + ValidSql()); },
                 LOOKUP_NO_DATABASE},
        FileCase{"WalModeWithCompanions",
                 [](const std::string& p) {
                     WriteDatabase(p, kWalTable + ValidSql());
                     // The number's row is taken out again in a commit that lives only in the -wal.
                 },
                 LOOKUP_NOT_FOUND,
                 [](const std::string& p) {
                     return std::make_unique<Holder>(p, "PRAGMA wal_autocheckpoint=0; DELETE FROM mobile WHERE id=1;");
                 }},
        FileCase{"WriteProtectedFileAndFolder",
                 [](const std::string& p) {
                     MakeValid(p);
                     const auto noWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
                     fs::permissions(p, noWrite, fs::perm_options::remove);
                     fs::permissions(fs::path(p).parent_path(), noWrite, fs::perm_options::remove);
                 },
                 LOOKUP_FOUND}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostileFiles, ReplacedBetweenTwoLookups)
{
    TempDir dir;
    const std::string db = dir.File("mobile.dat");
    MakeValid(db);
    EXPECT_EQ(LookupNumber(kNumber, db).status, LOOKUP_FOUND);
    EXPECT_EQ(hardening::ToolStatuses(dir, db, kNumber), std::vector<std::string>{"found"});

    WriteDatabase(dir.File("next.dat"), "CREATE TABLE other(x);");
    fs::rename(dir.File("next.dat"), db);
    EXPECT_EQ(LookupNumber(kNumber, db).status, LOOKUP_NO_DATABASE);
    EXPECT_EQ(hardening::ToolStatuses(dir, db, kNumber), std::vector<std::string>{"no-database"});

    fs::remove(db);
    WriteDatabase(db, ValidSql() + "DELETE FROM mobile WHERE id=1;");
    EXPECT_EQ(LookupNumber(kNumber, db).status, LOOKUP_NOT_FOUND);
    EXPECT_EQ(hardening::ToolStatuses(dir, db, kNumber), std::vector<std::string>{"not-found"});
}

}  // namespace
