// Runs mobile-lookup as a separate process and reads its answer's status words.
#pragma once

#include "../support/TestFiles.h"

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace hardening {

// The status word of each output line of `mobile-lookup --db <database> <arguments>`, run in
// dir with standard input from stdinFile (or nothing) under a time limit, so a hang fails.
inline std::vector<std::string> ToolStatuses(const testfiles::TempDir& dir, const std::string& database,
                                             const std::string& arguments, const std::string& stdinFile = "")
{
    const std::string out = (dir.Path().parent_path() / (dir.Path().filename().string() + ".out")).string();
    const std::string command = "cd '" + dir.Path().string() + "' && timeout 20 '" MOBILE_LOOKUP_PATH "' --db '" +
                                database + "' " + arguments + " <" + (stdinFile.empty() ? "/dev/null" : stdinFile) +
                                " >'" + out + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    std::vector<std::string> statuses;
    std::istringstream lines(testfiles::ReadBytes(out));
    std::remove(out.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {"exit " + std::to_string(status)};
    for (std::string line; std::getline(lines, line);) {
        const auto tab = line.find('\t');
        statuses.push_back(tab == std::string::npos ? line : line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1));
    }
    return statuses;
}

}  // namespace hardening
