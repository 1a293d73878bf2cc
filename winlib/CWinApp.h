// CWinApp: the one application object, and the entry (AfxWinMain behind WinMain) that drives it.
//
// A program declares exactly one global object of a class derived from CWinApp and no entry
// function of its own: WinMain lives in this library, in the same object file as CWinApp's
// constructor, so linking the application object pulls the entry in (also with -mwindows).
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    // Registers the object as the process's application (AfxGetApp). One at a time.
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Called once by the entry. TRUE: the entry runs a message loop until WM_QUIT; FALSE: it
    // skips the loop. Either way ExitInstance comes next and its result is the exit code.
    virtual BOOL InitInstance();
    // Returns the wParam of the last message a message loop of the layer retrieved.
    virtual int ExitInstance();

    // Icon nIDResource of the application's module at the standard (large) icon size; a shared
    // resource icon that is never destroyed. Null when missing.
    HICON LoadIcon(UINT nIDResource) const;

    // Would register the 3D-controls component for the application's dialogs; on Windows 95,
    // NT 4.0 and later dialogs draw in 3D themselves, so it does nothing and returns FALSE.
    BOOL Enable3dControlsStatic();

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // The executable's file name without directory and extension; the caption of message boxes
    // shown without one. Set by the entry (AfxWinInit).
    LPCSTR m_pszAppName = nullptr;
    // The application's main window; cleared when its window is destroyed, and when the object
    // it names is destroyed first.
    CWnd* m_pMainWnd = nullptr;
    // The last message a message loop of the layer retrieved.
    MSG m_msgCur{};

private:
    friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);
    friend int AfxWinMain(HINSTANCE, HINSTANCE, LPSTR, int);
    int Run();

    std::string m_appName;
};

CWinApp* AfxGetApp();

// The module that holds the application's resources: the executable.
HINSTANCE AfxGetResourceHandle();

// Would make dialogs able to host ActiveX controls. No dialog of ours holds one, and the layer
// does not host them; nothing visible depends on the call.
void AfxEnableControlContainer();

// The entry's set-up: error mode, instance, command line, show command, application name.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// The entry: AfxWinInit, InitInstance, the message loop if InitInstance returned TRUE, then
// ExitInstance, whose result it returns.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

namespace winlib {

// The application name for an executable's full path (in the system code page): the file name
// after the last '\\', '/' or ':', without the text from its last '.'. Double-byte characters
// are stepped over whole, so a trail byte 0x5C is not taken for a backslash.
std::string AppNameFromModulePath(const std::string& path);

}  // namespace winlib
