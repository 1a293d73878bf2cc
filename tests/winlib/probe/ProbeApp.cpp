// A GUI program built like the real one on the class layer: one global application object, no
// entry of its own. It runs a dialog as its main window and writes what it saw to the file named
// by its command line, for the tests that start copies of it under other names.
#include "CDialog.h"
#include "CWinApp.h"
#include "TestResource.h"

#include <cstdio>

namespace {

class ClosingDialog : public CDialog {
public:
    ClosingDialog() : CDialog(IDD_VISIBLE) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ::PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
};

class ProbeApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        INT_PTR result = 0;
        {
            ClosingDialog dialog;
            m_pMainWnd = &dialog;
            result = dialog.DoModal();
        }
        MSG quit{};
        const bool quitPosted = ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
        if (FILE* report = std::fopen(m_lpCmdLine, "wb")) {
            std::fprintf(report, "name=%s\nresult=%d\nmainwnd=%s\nquit=%d\n", m_pszAppName,
                         static_cast<int>(result), m_pMainWnd ? "set" : "cleared",
                         quitPosted ? static_cast<int>(quit.wParam) : -1);
            std::fclose(report);
        }
        return FALSE;
    }
};

ProbeApp theApp;

}  // namespace
