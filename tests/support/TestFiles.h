// Test helpers: a private temporary folder per test and data files made from SQL.
#pragma once

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace testfiles {

// A fresh folder, removed with everything in it when the test ends; parallel tests never share one.
class TempDir {
public:
    TempDir()
    {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = std::filesystem::temp_directory_path() /
                 ("tessaron-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(m_path);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir()
    {
        std::error_code ignored;
        MakeWritable(m_path, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    static void MakeWritable(const std::filesystem::path& dir, std::error_code& ec)
    {
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, ec))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    }

    std::filesystem::path m_path;
};

// Creates (or extends) an SQLite file by running sql in it.
inline void WriteDatabase(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create " + path);
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error("fixture SQL failed: " + message);
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The table as the program expects it; pid and pcode without a declared type, so a fixture
// can store an integer code and see how it arrives.
inline const char kMobileTable[] =
    "CREATE TABLE mobile(id INTEGER PRIMARY KEY, mobile TEXT, province TEXT, city TEXT,"
    " type TEXT, pid, pcode);";

}  // namespace testfiles
