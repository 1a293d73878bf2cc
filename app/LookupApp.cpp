// The one application object and its start-up and shutdown.
#include "LookupApp.h"

#include "AppFace.h"
#include "LookupDlg.h"

CLookupApp theApp;

BOOL CLookupApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    // The skin library finds the file itself; its outcome changes nothing here, a missing
    // skin only means the plain look.
    AppFaceStart("GtBase.urf", 0, 1, 0, 0);

    CLookupDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}

int CLookupApp::ExitInstance()
{
    AppFaceStop();
    return CWinApp::ExitInstance();
}
