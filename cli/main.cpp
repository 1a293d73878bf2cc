// mobile-lookup: looks numbers up in the number database from the command line or a stream.
#include "BatchLookup.h"
#include "LookupNumber.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "Usage: mobile-lookup [--db FILE] [--] [NUMBER...]\n"
    "\n"
    "Tells where mainland-China mobile numbers (13x and 15x) are registered.\n"
    "Each NUMBER is looked up by its first seven digits; without NUMBERs one number\n"
    "is read per line from standard input.\n"
    "\n"
    "For each number one tab-separated line is printed, in UTF-8:\n"
    "  number  status  province  city  type  area-code  postal-code\n"
    "status is one of: found, bad-number, no-database, not-found; the five texts\n"
    "are empty unless found.\n"
    "\n"
    "  --db FILE  the number database (default: mobile.dat in the current directory)\n"
    "  --help     show this text\n"
    "\n"
    "Exit status: 0 when every number was answered, 1 when the output could not be\n"
    "written, 2 on bad arguments.\n";

struct Arguments {
    std::string databasePath = kDefaultDatabaseName;
    std::vector<std::string> numbers;
};

int Usage(const char* problem)
{
    std::fprintf(stderr, "mobile-lookup: %s\n\n%s", problem, kUsage);
    return 2;
}

class Printer {
public:
    explicit Printer(bool flushEachLine) : m_flushEachLine(flushEachLine) {}

    void Print(std::string_view number, const BatchAnswer& answer)
    {
        // The number is echoed as given, but for control bytes: a tab there would shift the columns.
        m_number.assign(number);
        for (char& c : m_number) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                c = ' ';
        }
        std::fwrite(m_number.data(), 1, m_number.size(), stdout);
        std::fwrite(answer.fields.data(), 1, answer.fields.size(), stdout);
        if (m_flushEachLine)
            std::fflush(stdout);
    }

private:
    bool m_flushEachLine;
    std::string m_number;
};

}  // namespace

int main(int argc, char** argv)
{
    Arguments args;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            args.numbers.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--db") {
            if (++i == argc)
                return Usage("--db needs a file name");
            args.databasePath = argv[i];
        } else {
            return Usage(("unknown option " + arg).c_str());
        }
    }

    BatchLookup lookup(args.databasePath);
    // Someone typing numbers wants each answer at once; a pipe gets full buffers.
    Printer printer(isatty(STDIN_FILENO) != 0);
    if (!args.numbers.empty()) {
        for (const std::string& number : args.numbers)
            printer.Print(number, lookup.Lookup(number));
    } else {
        std::ios::sync_with_stdio(false);
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r')  // lines from a Windows text file
                line.pop_back();
            printer.Print(line, lookup.Lookup(line));
        }
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "mobile-lookup: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
