// mobile-lookup as a user runs it: arguments, batches on standard input, UTF-8 output, exit codes.
#include "../support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

using testfiles::kMobileTable;
using testfiles::ReadBytes;
using testfiles::TempDir;
using testfiles::WriteBytes;
using testfiles::WriteDatabase;

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

// Runs the tool in dir with a shell command tail (arguments and redirections).
ToolRun RunTool(const TempDir& dir, const std::string& tail)
{
    const std::string command = "cd '" + dir.Path().string() + "' && '" MOBILE_LOOKUP_PATH "' " + tail +
                                " >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(dir.File("stdout.txt")),
            ReadBytes(dir.File("stderr.txt"))};
    std::filesystem::remove(dir.File("stdout.txt"));
    std::filesystem::remove(dir.File("stderr.txt"));
    return run;
}

void WriteFixture(const std::string& path)
{
    WriteDatabase(path, std::string(kMobileTable) +
                            // 江苏 常州 中国移动 in GBK, and a city with bytes that are no GBK.
                            "INSERT INTO mobile VALUES(1,'1390519',X'BDADCBD5',X'B3A3D6DD',X'D6D0B9FAD2C6B6AF','0519','213000');"
                            "INSERT INTO mobile VALUES(2,'1500000','P',X'41FF42B3',NULL,'010','100000');"
                            "INSERT INTO mobile VALUES(3,'1510000',X'5009','C','T','1','2');");
}

TEST(MobileLookupTool, BatchKeepsOrderAndAnswersEveryLine)
{
    TempDir dir;
    WriteFixture(dir.File("mobile.dat"));
    WriteBytes(dir.File("in.txt"), "13905191234\n139\n\n1399999\r\n15000001111\n 13905191234\n13905191234");

    const ToolRun run = RunTool(dir, "< in.txt");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "13905191234\tfound\t江苏\t常州\t中国移动\t0519\t213000\n"
              "139\tbad-number\t\t\t\t\t\n"
              "\tbad-number\t\t\t\t\t\n"
              "1399999\tnot-found\t\t\t\t\t\n"
              "15000001111\tfound\tP\tA\xEF\xBF\xBD" "B\xEF\xBF\xBD\t\t010\t100000\n"
              " 13905191234\tbad-number\t\t\t\t\t\n"
              "13905191234\tfound\t江苏\t常州\t中国移动\t0519\t213000\n");
}

TEST(MobileLookupTool, ArgumentsAndDatabaseChoice)
{
    TempDir dir;
    WriteFixture(dir.File("data.db"));

    // No --db: mobile.dat in the current directory, which is missing here and must stay so.
    ToolRun run = RunTool(dir, "13905191234");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "13905191234\tno-database\t\t\t\t\t\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("mobile.dat")));

    run = RunTool(dir, "--db data.db -- 15100001234 1390519");
    EXPECT_EQ(run.exitCode, 0);
    // A tab inside a value would shift the columns; it is printed as a space.
    EXPECT_EQ(run.out, "15100001234\tfound\tP \tC\tT\t1\t2\n"
                       "1390519\tfound\t江苏\t常州\t中国移动\t0519\t213000\n");

    run = RunTool(dir, "--db data.db -- -13905191234");
    EXPECT_EQ(run.out, "-13905191234\tbad-number\t\t\t\t\t\n");
}

TEST(MobileLookupTool, BadArgumentsGiveUsage)
{
    TempDir dir;
    for (const char* args : {"--db", "--frobnicate 139", "-x"}) {
        const ToolRun run = RunTool(dir, args);
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_NE(run.err.find("Usage: mobile-lookup"), std::string::npos) << args;
    }
    const ToolRun help = RunTool(dir, "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("not-found"), std::string::npos);
}

}  // namespace
