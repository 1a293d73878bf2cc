// Fuzz target: any data file against one fixed number; outcomes agree and nothing on disk changes.
#include "BatchLookup.h"
#include "FuzzChecks.h"
#include "LookupNumber.h"
#include "NumberDatabase.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// A private folder, on tmpfs where there is one; each input is written there as mobile.dat.
// Never destroyed, so the clean-up at exit can still name it.
const std::string& Folder()
{
    static const std::string& folder = *new std::string([] {
        std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/fuzz-db-XXXXXX" : "/tmp/fuzz-db-XXXXXX";
        Require(mkdtemp(pattern.data()) != nullptr, "a private folder");
        std::atexit([] {
            unlink((Folder() + "/mobile.dat").c_str());
            rmdir(Folder().c_str());
        });
        return pattern;
    }());
    return folder;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The folder holds mobile.dat and nothing else.
bool OnlyTheDataFile()
{
    DIR* dir = opendir(Folder().c_str());
    int others = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != "mobile.dat")
            ++others;
    }
    closedir(dir);
    return others == 0;
}

bool PassesIntegrityCheck(const std::string& path)
{
    // Opened as the lookup opens it, so this check cannot create files either.
    const SqliteConnection db = OpenDataFile(path);
    bool ok = false;
    if (db) {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(db.get(), "PRAGMA integrity_check(1)", -1, &check, nullptr) == SQLITE_OK &&
            sqlite3_step(check) == SQLITE_ROW) {
            const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
            ok = verdict && std::string(verdict) == "ok";
        }
        sqlite3_finalize(check);
    }
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = Folder() + "/mobile.dat";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    const char kNumber[] = "13905191234";
    const LookupResult single = LookupNumber(kNumber, path);
    BatchLookup batch(path);
    const LookupResult batched = batch.Lookup(kNumber).result;
    Require(IsDefined(single) && IsDefined(batched), "a defined outcome");
    // On a damaged file SQLite promises safety, not an answer: the same query on the same
    // bytes was seen to fail or succeed depending on what the process had allocated before.
    if (PassesIntegrityCheck(path))
        Require(SameResult(single, batched), "the batch answers as LookupNumber does");
    Require(ReadAll(path) == bytes, "the file's bytes are unchanged");
    Require(OnlyTheDataFile(), "nothing was created beside the file");
    return 0;
}
