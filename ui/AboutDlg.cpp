// The About box: a template-only dialog that answers F1 with nothing.
#include "AboutDlg.h"

#include "resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX)
{
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_CTLCOLOR()
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

BOOL CAboutDlg::OnHelpInfo(HELPINFO* /*pHelpInfo*/)
{
    return FALSE;
}
