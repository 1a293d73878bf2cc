// CWinApp and the entry: WinMain, AfxWinMain, AfxWinInit and the application name.
#include "CWinApp.h"

#include "CWnd.h"

namespace {

CWinApp* g_app = nullptr;  // the process's one application object

}  // namespace

CWinApp::CWinApp()
{
    if (!g_app)
        g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

BOOL CWinApp::Enable3dControlsStatic() { return FALSE; }

int CWinApp::Run()
{
    while (::GetMessageA(&m_msgCur, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return ExitInstance();
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetResourceHandle()
{
    if (g_app && g_app->m_hInstance)
        return g_app->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

void AfxEnableControlContainer() {}

std::string winlib::AppNameFromModulePath(const std::string& path)
{
    size_t nameStart = 0;
    size_t lastDot = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (::IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < path.size()) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            nameStart = i + 1;
            lastDot = std::string::npos;
        } else if (c == '.') {
            lastDot = i;
        }
    }
    const size_t nameEnd = lastDot == std::string::npos ? path.size() : lastDot;
    return path.substr(nameStart, nameEnd - nameStart);
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    // Fail critical errors and missing files quietly instead of asking the user.
    ::SetErrorMode(::SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    if (!g_app)
        return FALSE;
    g_app->m_hInstance = hInstance;
    g_app->m_lpCmdLine = lpCmdLine;
    g_app->m_nCmdShow = nCmdShow;

    char path[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(hInstance, path, MAX_PATH);
    g_app->m_appName = winlib::AppNameFromModulePath(path);
    g_app->m_pszAppName = g_app->m_appName.c_str();
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    if (!AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        return -1;
    CWinApp* app = AfxGetApp();
    if (app->InitInstance())
        return app->Run();
    // A main window that is still there has no loop left to serve it.
    if (app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd))
        ::DestroyWindow(app->m_pMainWnd->m_hWnd);
    return app->ExitInstance();
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
