// SkinSource: name resolution and a size-capped read of the skin file.
#include "SkinSource.h"

#include <windows.h>

#include <memory>
#include <type_traits>

#include "SkinFile.h"

namespace skin {
namespace {

struct FileCloser {
    void operator()(HANDLE file) const noexcept { CloseHandle(file); }
};
using OwnedFile = std::unique_ptr<std::remove_pointer_t<HANDLE>, FileCloser>;

std::optional<std::string> ReadWhole(const std::wstring& path) {
    OwnedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > LONGLONG{kMaxSkinBytes}) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}

bool IsRelative(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':') return false;
    return path.empty() || (path[0] != L'\\' && path[0] != L'/');
}

std::wstring ModuleFolder() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&ModuleFolder), &self)) {
        return {};
    }
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::wstring folder(path, length);
    const std::size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

}  // namespace

std::optional<std::string> ReadSkinSource(const char* name) {
    if (!name || !*name) return std::nullopt;
    const int length = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    if (length <= 1) return std::nullopt;
    std::wstring path(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name, -1, path.data(), length);
    path.resize(static_cast<std::size_t>(length) - 1);

    if (auto bytes = ReadWhole(path)) return bytes;
    if (!IsRelative(path)) return std::nullopt;
    const std::wstring folder = ModuleFolder();
    if (folder.empty()) return std::nullopt;
    return ReadWhole(folder + path);
}

}  // namespace skin
