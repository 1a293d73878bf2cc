// TessaronRun: the shipped program started in a folder of its own and driven from outside,
// as a user would, through window messages and keyboard input.
#pragma once

#include "../support/TestFiles.h"

#include <windows.h>

#include <sqlite3.h>

#include <functional>
#include <string>
#include <vector>

namespace apptest {

// The data file a run finds beside the program.
enum class DataFile {
    Real,            // the shipped mobile.dat
    Fixture,         // a small file with known rows (FixtureRows below)
    Missing,         // none at all
    Garbage,         // bytes that are no database
    NoTable,         // a database without the table mobile
    Locked,          // the shipped file, held by a writer for the whole run
    WriteProtected,  // the shipped file with the read-only attribute
};

// Rows of the fixture file, GBK bytes: 1390519 江苏 常州 中国移动 0519 213000;
// 1350000 with a NULL area code: 北京 北京 中国联通 (none) 100000.
extern const char kFixtureSql[];

struct RunOptions {
    DataFile data = DataFile::Real;
    std::string exeName = "Tessaron.exe";  // a copy under another name changes the app name
    bool skin = true;                      // false: no GtBase.urf in the folder
};

// A message box or the About box as seen from outside while it is open.
struct OwnedDialog {
    HWND hWnd = nullptr;
    std::string caption;
    std::string text;            // control 0xFFFF: empty for the About box
    std::vector<int> buttonIds;  // visible push buttons, in z order
    bool hasIcon = false;        // a visible static showing an icon
};

// Everything that waits gives up after a time-out; the destructor ends a process still running.
class TessaronRun {
public:
    explicit TessaronRun(const RunOptions& options = {});
    TessaronRun(const TessaronRun&) = delete;
    TessaronRun& operator=(const TessaronRun&) = delete;
    ~TessaronRun();

    // Null when the program did not open its dialog in time.
    HWND Dialog() const { return m_dialog; }
    HWND Item(int id) const { return ::GetDlgItem(m_dialog, id); }
    const std::filesystem::path& Folder() const { return m_dir.Path(); }

    // Characters as WM_CHAR to the number field, so its own filter and limit apply.
    void Type(const std::string& chars) const;
    // A posted key-down, as the program's loop would take it from the keyboard.
    void PostKeyDown(HWND target, UINT vk) const;
    // Real keyboard input: each key down and up, with modifier (if any) held around them all,
    // to the foreground window, made window first (the dialog when null).
    bool PressKeys(const std::vector<WORD>& keys, WORD modifier = 0, HWND window = nullptr) const;
    // Moves the focus inside the dialog the way Tab would, and waits until it is there.
    bool FocusItem(int id) const;
    HWND Focus() const;
    // The focus once it has come to expected, or wherever it is after the time-out: activation
    // goes through the X server, and the thread has no focus for a moment after a box closes.
    HWND SettledFocus(HWND expected, DWORD milliseconds = 2000) const;
    void Click(int id) const;

    // Returns once the program has handled every message posted to it before, also when one
    // of them opened a modal box (whose loop handles the rest).
    bool Sync() const;

    // The first top-level dialog of the process owned by owner, once it shows; null after a
    // time-out.
    OwnedDialog WaitForOwnedDialog(HWND owner, DWORD milliseconds = 5000) const;
    // Any top-level window of the process owned by owner, shown or not yet: a modal box shows
    // itself only once its loop finds the queue empty.
    HWND OwnedWindow(HWND owner) const;
    std::vector<HWND> TopLevelWindows() const;
    bool WaitUntilGone(HWND window, DWORD milliseconds = 5000) const;
    // True when the process has ended in time.
    bool WaitForExit(DWORD milliseconds = 5000) const;
    DWORD ThreadId() const { return m_process.dwThreadId; }

private:
    void PrepareFolder(const RunOptions& options);
    void FindDialog();

    testfiles::TempDir m_dir;
    sqlite3* m_writer = nullptr;  // holds the lock of a Locked run
    PROCESS_INFORMATION m_process{};
    HWND m_dialog = nullptr;
    mutable int m_syncMark = 0;
};

// Polls until done() holds; false after the time-out.
bool Eventually(const std::function<bool()>& done, DWORD milliseconds = 2000);

// WM_GETTEXT across processes; empty when the window does not answer in time.
std::string Text(HWND window);
std::string ClassName(HWND window);
RECT WindowRect(HWND window);
// Screen colour at a point of the window's client area, as 0xRRGGBB.
unsigned ScreenColour(HWND window, POINT client);

}  // namespace apptest
