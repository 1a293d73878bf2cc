// window_texts.exe: prints what the windows of a program under test show, read from this
// separate process through window messages, so the program itself carries no test hooks.
//
// Usage: window_texts.exe FOLDER
// Looks at every visible top-level window whose process runs an executable inside FOLDER
// (a Windows path) and prints, in UTF-8, one line for the window and one for each child:
//   CAPTION <TAB> window <TAB> ENABLED <TAB> LEFT TOP WIDTH HEIGHT <TAB>
//   CAPTION <TAB> ID <TAB> ENABLED <TAB> LEFT TOP WIDTH HEIGHT <TAB> TEXT
// ENABLED is 1 or 0, ID the control id as an unsigned number (a message box's text is 65535),
// the rectangle in screen pixels. Windows come topmost first.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A window of a hung program must not hang the test as well.
constexpr UINT kReplyTimeoutMs = 2000;

std::wstring FromAnsi(const char* text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::string ToUtf8(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                        length, nullptr, nullptr);
    return utf8;
}

// WM_GETTEXT rather than GetWindowText: for another process's control GetWindowText
// returns the window's internal name, not what an edit control holds.
std::wstring TextOf(HWND hwnd)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &length))
        return {};
    std::vector<wchar_t> buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, kReplyTimeoutMs, &copied))
        return {};
    std::wstring text(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
    // One line per window: the fields are tab-separated, so no text may break them.
    for (wchar_t& c : text) {
        if (c == L'\t' || c == L'\r' || c == L'\n')
            c = L' ';
    }
    return text;
}

bool SameFolderPrefix(const std::wstring& path, const std::wstring& folder)
{
    if (path.size() <= folder.size())
        return false;
    const std::wstring head = path.substr(0, folder.size());
    return CompareStringOrdinal(head.c_str(), -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL
        && (folder.back() == L'\\' || path[folder.size()] == L'\\');
}

bool RunsFromFolder(HWND hwnd, const std::wstring& folder)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false;
    wchar_t image[MAX_PATH * 2] = {};
    DWORD size = static_cast<DWORD>(sizeof image / sizeof image[0]);
    const bool named = QueryFullProcessImageNameW(process, 0, image, &size) != 0;
    CloseHandle(process);
    return named && SameFolderPrefix(std::wstring(image, size), folder);
}

std::string Describe(HWND hwnd, const std::string& caption, const std::string& id)
{
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    char geometry[64];
    std::snprintf(geometry, sizeof geometry, "%ld %ld %ld %ld", rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top);
    return caption + '\t' + id + '\t' + (IsWindowEnabled(hwnd) ? "1" : "0") + '\t' + geometry + '\t';
}

struct Listing {
    std::wstring folder;
    std::string out;
    std::string caption;
};

BOOL CALLBACK ListChild(HWND child, LPARAM param)
{
    auto& listing = *reinterpret_cast<Listing*>(param);
    const auto id = static_cast<unsigned short>(GetDlgCtrlID(child));
    listing.out += Describe(child, listing.caption, std::to_string(id)) + ToUtf8(TextOf(child)) + '\n';
    return TRUE;
}

BOOL CALLBACK ListTopLevel(HWND hwnd, LPARAM param)
{
    auto& listing = *reinterpret_cast<Listing*>(param);
    if (!IsWindowVisible(hwnd) || !RunsFromFolder(hwnd, listing.folder))
        return TRUE;
    listing.caption = ToUtf8(TextOf(hwnd));
    listing.out += Describe(hwnd, listing.caption, "window") + '\n';
    EnumChildWindows(hwnd, ListChild, param);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: window_texts.exe FOLDER\n", stderr);
        return 2;
    }
    Listing listing;
    listing.folder = FromAnsi(argv[1]);
    if (listing.folder.empty()) {
        std::fputs("window_texts: empty folder\n", stderr);
        return 2;
    }
    EnumWindows(ListTopLevel, reinterpret_cast<LPARAM>(&listing));
    // Plain LF lines: a text-mode stdout would end each in CR LF, glued to the last field.
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(listing.out.data(), 1, listing.out.size(), stdout);
    return 0;
}
