// CWinApp and the entry: the application name, InitInstance's two ways to ExitInstance, and copies
// of a real GUI program (the probe) started under other names.
#include "TestSupport.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

class WinAppTest : public WinlibTest {
protected:
    void TearDown() override
    {
        TheTestApp().initInstance = nullptr;
        TheTestApp().exitInstance = nullptr;
        WinlibTest::TearDown();
    }
};

TEST(AppNameTest, FileNameWithoutDirectoryAndExtension)
{
    ASSERT_EQ(::GetACP(), 936u) << "the tests run in the Simplified Chinese code page";
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\Program Files\\Tessaron\\Tessaron.exe", "Tessaron"},
        {"C:\\dir.d\\prog", "prog"},  // a dot in a directory is no extension
        {"C:/tools/v1.2.tool.exe", "v1.2.tool"},
        {"D:prog.exe", "prog"},
        {"C:\\tmp\\\x81\x5Cname.exe", "\x81\x5Cname"},  // 0x5C as a trail byte is no backslash
        {"C:\\tmp\\\xBA\xC5\xC2\xEB.exe", "\xBA\xC5\xC2\xEB"},  // 号码
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(winlib::AppNameFromModulePath(c.path), c.name);
    }
}

TEST_F(WinAppTest, InitInstanceFalseSkipsTheLoopAndExitInstanceGivesTheResult)
{
    TestApp& app = TheTestApp();
    HWND leftOver = nullptr;
    CWnd mainWindow;
    app.initInstance = [&] {
        // A message the loop would take, and a main window nobody closed.
        ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP, 7, 0);
        leftOver = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        mainWindow.Attach(leftOver);
        app.m_pMainWnd = &mainWindow;
        return FALSE;
    };
    app.exitInstance = [] { return 17; };
    EXPECT_EQ(::AfxWinMain(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>("ignored arguments"), SW_SHOW), 17);
    MSG msg{};
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE)) << "a message loop ran";
    EXPECT_FALSE(::IsWindow(leftOver)) << "the entry destroys a main window that is still there";
    app.m_pMainWnd = nullptr;
}

TEST_F(WinAppTest, InitInstanceTrueRunsTheLoopUntilQuitWhoseCodeTheBaseExitInstanceReturns)
{
    TestApp& app = TheTestApp();
    bool sawAppMessage = false;
    app.initInstance = [&] {
        ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP, 0, 0);
        ::PostQuitMessage(3);
        return TRUE;
    };
    app.exitInstance = [&] {
        MSG msg{};
        sawAppMessage = !::PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE);
        return app.CWinApp::ExitInstance();
    };
    EXPECT_EQ(::AfxWinMain(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW), 3);
    EXPECT_TRUE(sawAppMessage) << "the loop took the posted message";
}

TEST_F(WinAppTest, EntrySetsTheErrorModeAndKeepsTheStartArguments)
{
    TestApp& app = TheTestApp();
    ::SetErrorMode(0);
    ASSERT_TRUE(::AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>("a b"), SW_SHOWMINIMIZED));
    const UINT mode = ::SetErrorMode(0);
    ::SetErrorMode(mode);
    EXPECT_EQ(mode & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
              UINT{SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX});
    EXPECT_STREQ(app.m_lpCmdLine, "a b");
    EXPECT_EQ(app.m_nCmdShow, SW_SHOWMINIMIZED);
    EXPECT_EQ(app.m_hInstance, ::GetModuleHandleA(nullptr));
    EXPECT_STREQ(app.m_pszAppName, "winlib_tests");
}

std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

std::string ModulePath()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// A folder of its own under the temp folder, removed with what it holds.
class TempFolder {
public:
    TempFolder()
    {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_path = std::string(temp) + "winlib-" + std::to_string(::GetCurrentProcessId()) + ".d\\";
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder()
    {
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA((m_path + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                ::DeleteFileA((m_path + found.cFileName).c_str());
            while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryA(m_path.c_str());
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

struct ProbeRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string report;
};

ProbeRun RunProbe(const std::string& exe, const std::string& reportFile)
{
    ProbeRun run;
    std::string commandLine = "\"" + exe + "\" " + reportFile;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return run;
    if (::WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 0xDEAD);
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    std::ifstream in(reportFile, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    run.report = text.str();
    return run;
}

TEST(ProbeTest, CopyUnderAnotherNameRunsItsDialogAndReportsThatName)
{
    const std::string probe = Folder(ModulePath()) + "winlib_probe.exe";
    ASSERT_NE(::GetFileAttributesA(probe.c_str()), INVALID_FILE_ATTRIBUTES) << probe;
    TempFolder folder;
    const struct {
        const char* file;
        const char* name;
    } cases[] = {
        {"winlib_probe.exe", "winlib_probe"},
        {"another name.exe", "another name"},
        {"\xBA\xC5\xC2\xEB\xB2\xE9\xD1\xAF.exe", "\xBA\xC5\xC2\xEB\xB2\xE9\xD1\xAF"},  // 号码查询
        {"\x81\x5Cprobe.exe", "\x81\x5Cprobe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string copy = folder.path() + c.file;
        ASSERT_TRUE(::CopyFileA(probe.c_str(), copy.c_str(), FALSE));
        const ProbeRun run = RunProbe(copy, folder.path() + "report.txt");
        // The base ExitInstance returns the wParam of the last message the dialog's loop took:
        // the posted IDCANCEL command that closed it.
        EXPECT_EQ(run.exitCode, DWORD{IDCANCEL});
        EXPECT_EQ(run.report, std::string("name=") + c.name + "\nresult=2\nmainwnd=cleared\nquit=0\n");
        ::DeleteFileA((folder.path() + "report.txt").c_str());
    }
}

}  // namespace
