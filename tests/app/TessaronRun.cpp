// The harness: a run's folder and data file, the process, finding its windows, input, waits.
#include "TessaronRun.h"

#include "resource.h"

#include <stdexcept>

namespace apptest {

const char kFixtureSql[] =
    "CREATE TABLE mobile(id INTEGER PRIMARY KEY, mobile TEXT, province TEXT, city TEXT,"
    " type TEXT, pid, pcode);"
    "INSERT INTO mobile VALUES(1,'1390519',X'BDADCBD5',X'B3A3D6DD',X'D6D0B9FAD2C6B6AF','0519','213000');"
    "INSERT INTO mobile VALUES(2,'1350000',X'B1B1BEA9',X'B1B1BEA9',X'D6D0B9FAC1AACDA8',NULL,'100000');";

namespace {

constexpr DWORD kStartMilliseconds = 15000;
constexpr DWORD kPollMilliseconds = 20;
constexpr UINT kAnswerMilliseconds = 5000;

std::string ModuleFolder()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// The shipped set sits in dist/ beside the bin/ folder that holds the tests.
std::string DistFolder() { return ModuleFolder() + "..\\dist\\"; }

void Copy(const std::string& from, const std::string& to)
{
    if (!::CopyFileA(from.c_str(), to.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + from + " to " + to);
}

// Polls until done() holds or the time is up; the last answer of done().
template <typename Done>
bool WaitFor(Done done, DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (::GetTickCount() - start > milliseconds)
            return done();
        ::Sleep(kPollMilliseconds);
    }
}

struct EnumContext {
    DWORD processId;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    auto* context = reinterpret_cast<EnumContext*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == context->processId)
        context->windows->push_back(window);
    return TRUE;
}

}  // namespace

bool Eventually(const std::function<bool()>& done, DWORD milliseconds) { return WaitFor(done, milliseconds); }

std::string Text(HWND window)
{
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                               kAnswerMilliseconds, &copied))
        return {};
    return std::string(text, copied);
}

std::string ClassName(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

unsigned ScreenColour(HWND window, POINT client)
{
    ::ClientToScreen(window, &client);
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, client.x, client.y);
    ::ReleaseDC(nullptr, screen);
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

TessaronRun::TessaronRun(const RunOptions& options)
{
    PrepareFolder(options);
    const std::string folder = m_dir.Path().string();
    const std::string exe = folder + "\\" + options.exeName;
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &m_process))
        return;
    ::WaitForInputIdle(m_process.hProcess, kStartMilliseconds);
    FindDialog();
}

TessaronRun::~TessaronRun()
{
    if (m_process.hProcess) {
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process.hProcess, 0xDEAD);
            ::WaitForSingleObject(m_process.hProcess, kStartMilliseconds);
        }
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_process.hProcess);
    }
    if (m_writer) {
        sqlite3_exec(m_writer, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close(m_writer);
    }
}

void TessaronRun::PrepareFolder(const RunOptions& options)
{
    const std::string dist = DistFolder();
    const std::string folder = m_dir.Path().string() + "\\";
    Copy(dist + "Tessaron.exe", folder + options.exeName);
    for (const char* file : {"AppFace.dll", "sqlite3.dll"})
        Copy(dist + file, folder + file);
    if (options.skin)
        Copy(dist + "GtBase.urf", folder + "GtBase.urf");

    const std::string data = folder + "mobile.dat";
    switch (options.data) {
    case DataFile::Real:
        Copy(dist + "mobile.dat", data);
        break;
    case DataFile::Fixture:
        testfiles::WriteDatabase(data, kFixtureSql);
        break;
    case DataFile::Missing:
        break;
    case DataFile::Garbage:
        testfiles::WriteBytes(data, std::string(8192, '\x5A'));
        break;
    case DataFile::NoTable:
        testfiles::WriteDatabase(data, "CREATE TABLE other(x);");
        break;
    case DataFile::Locked:
        Copy(dist + "mobile.dat", data);
        // An open write transaction that has written: readers in other processes meet the lock.
        if (sqlite3_open(data.c_str(), &m_writer) != SQLITE_OK ||
            sqlite3_exec(m_writer, "BEGIN EXCLUSIVE; DELETE FROM mobile WHERE id < 10;", nullptr, nullptr,
                         nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot lock " + data);
        break;
    case DataFile::WriteProtected:
        Copy(dist + "mobile.dat", data);
        ::SetFileAttributesA(data.c_str(), FILE_ATTRIBUTE_READONLY);
        break;
    }
}

void TessaronRun::FindDialog()
{
    WaitFor(
        [this] {
            for (HWND window : TopLevelWindows()) {
                if (ClassName(window) == "#32770" && ::IsWindowVisible(window) && !::GetWindow(window, GW_OWNER) &&
                    ::GetDlgItem(window, IDC_QUERY)) {
                    m_dialog = window;
                    return true;
                }
            }
            return false;
        },
        kStartMilliseconds);
}

std::vector<HWND> TessaronRun::TopLevelWindows() const
{
    std::vector<HWND> windows;
    EnumContext context{m_process.dwProcessId, &windows};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&context));
    return windows;
}

void TessaronRun::Type(const std::string& chars) const
{
    for (unsigned char c : chars)
        ::PostMessageA(Item(IDC_MOBILE), WM_CHAR, c, 1);
}

void TessaronRun::PostKeyDown(HWND target, UINT vk) const
{
    const LPARAM repeatAndScan = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16);
    ::PostMessageA(target, WM_KEYDOWN, vk, repeatAndScan);
}

bool TessaronRun::PressKeys(const std::vector<WORD>& keys, WORD modifier, HWND window) const
{
    if (!window)
        window = m_dialog;
    ::SetForegroundWindow(window);
    if (!WaitFor([window] { return ::GetForegroundWindow() == window; }, kAnswerMilliseconds))
        return false;
    auto key = [](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        return input;
    };
    std::vector<INPUT> inputs;
    if (modifier)
        inputs.push_back(key(modifier, 0));
    for (WORD vk : keys) {
        inputs.push_back(key(vk, 0));
        inputs.push_back(key(vk, KEYEVENTF_KEYUP));
    }
    if (modifier)
        inputs.push_back(key(modifier, KEYEVENTF_KEYUP));
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool TessaronRun::FocusItem(int id) const
{
    // The dialog manager's own way to move the focus, as Tab does; a posted message keeps the
    // order with other input.
    ::PostMessageA(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
    return WaitFor([this, id] { return Focus() == Item(id); }, kAnswerMilliseconds);
}

HWND TessaronRun::Focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(m_process.dwThreadId, &info))
        return nullptr;
    return info.hwndFocus;
}

HWND TessaronRun::SettledFocus(HWND expected, DWORD milliseconds) const
{
    WaitFor([this, expected] { return Focus() == expected; }, milliseconds);
    return Focus();
}

void TessaronRun::Click(int id) const { ::PostMessageA(Item(id), BM_CLICK, 0, 0); }

bool TessaronRun::Sync() const
{
    // The text limit of a read-only field means nothing to the user; setting it by a posted
    // message marks the point in the queue, and reading it back tells when that point is passed.
    const WPARAM mark = 50000 + static_cast<WPARAM>(++m_syncMark % 1000);
    HWND marker = Item(IDC_PROVINCE);
    ::PostMessageA(marker, EM_SETLIMITTEXT, mark, 0);
    return WaitFor(
        [marker, mark] {
            DWORD_PTR limit = 0;
            return ::SendMessageTimeoutA(marker, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, kAnswerMilliseconds,
                                         &limit) &&
                   limit == mark;
        },
        kAnswerMilliseconds);
}

OwnedDialog TessaronRun::WaitForOwnedDialog(HWND owner, DWORD milliseconds) const
{
    OwnedDialog seen;
    WaitFor(
        [&] {
            for (HWND window : TopLevelWindows()) {
                if (ClassName(window) == "#32770" && ::IsWindowVisible(window) &&
                    ::GetWindow(window, GW_OWNER) == owner) {
                    seen.hWnd = window;
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    if (!seen.hWnd)
        return seen;
    seen.caption = Text(seen.hWnd);
    if (HWND text = ::GetDlgItem(seen.hWnd, 0xFFFF))
        seen.text = Text(text);
    for (HWND child = ::GetWindow(seen.hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child))
            continue;
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        if (ClassName(child) == "Button" && (style & BS_TYPEMASK) != BS_GROUPBOX)
            seen.buttonIds.push_back(::GetDlgCtrlID(child));
        if (ClassName(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON)
            seen.hasIcon = seen.hasIcon || ::SendMessageA(child, STM_GETICON, 0, 0) != 0;
    }
    return seen;
}

HWND TessaronRun::OwnedWindow(HWND owner) const
{
    for (HWND window : TopLevelWindows()) {
        if (::GetWindow(window, GW_OWNER) == owner)
            return window;
    }
    return nullptr;
}

bool TessaronRun::WaitUntilGone(HWND window, DWORD milliseconds) const
{
    return WaitFor([window] { return !::IsWindow(window); }, milliseconds);
}

bool TessaronRun::WaitForExit(DWORD milliseconds) const
{
    return m_process.hProcess && ::WaitForSingleObject(m_process.hProcess, milliseconds) == WAIT_OBJECT_0;
}

}  // namespace apptest
