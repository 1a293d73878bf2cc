// The lookup dialog: data exchange, the query command and its outcomes, icon, About hooks.
#include "LookupDlg.h"

#include "AboutDlg.h"
#include "CPaintDC.h"
#include "CWinApp.h"
#include "DialogTexts.h"
#include "LookupNumber.h"
#include "resource.h"

namespace {
constexpr int kMaxNumberChars = 11;
}

CLookupDlg::CLookupDlg(CWnd* pParent)
    : CDialog(IDD_LOOKUP_DIALOG, pParent), m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME))
{
}

void CLookupDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MOBILE, m_editMobile);
    DDX_Control(pDX, IDC_QUERY, m_btnQuery);
    DDX_Text(pDX, IDC_CITY, m_strCity);
    DDX_Text(pDX, IDC_MOBILE, m_strMobile);
    DDV_MaxChars(pDX, m_strMobile, kMaxNumberChars);
    DDX_Text(pDX, IDC_POSTCODE, m_strPostCode);
    DDX_Text(pDX, IDC_AREACODE, m_strAreaCode);
    DDX_Text(pDX, IDC_TYPE, m_strType);
    DDX_Text(pDX, IDC_PROVINCE, m_strProvince);
}

BEGIN_MESSAGE_MAP(CLookupDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_QUERY, OnQuery)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

BOOL CLookupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (HMENU sysMenu = GetSystemMenu(FALSE)) {
        CString aboutItem;
        aboutItem.LoadString(IDS_ABOUTBOX);
        if (!aboutItem.IsEmpty()) {
            AppendMenuA(sysMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(sysMenu, MF_STRING, IDM_ABOUTBOX, aboutItem);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    return TRUE;
}

void CLookupDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    // The system keeps the low four bits of a command id for itself.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
        ShowAboutBox();
    else
        CDialog::OnSysCommand(nID, lParam);
}

void CLookupDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CLookupDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CLookupDlg::OnOK()
{
}

BOOL CLookupDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        OnQuery();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CLookupDlg::OnQuery()
{
    UpdateData(TRUE);
    // Disabled before the file is opened, so a second click cannot queue another lookup.
    m_btnQuery.EnableWindow(FALSE);

    const LookupResult result = LookupNumber(m_strMobile.str());
    switch (result.status) {
    case LOOKUP_BAD_NUMBER:
        m_btnQuery.EnableWindow(TRUE);
        MessageBox(kBadNumberText, kLookupCaption, MB_OK);
        m_editMobile.SetFocus();
        return;
    case LOOKUP_NO_DATABASE:
        MessageBox(kNoDatabaseText, kLookupCaption, MB_OK);
        m_btnQuery.EnableWindow(TRUE);
        return;
    case LOOKUP_NOT_FOUND:
        // No caption of its own: the box carries the application's name.
        MessageBox(kNotFoundText);
        break;
    case LOOKUP_FOUND:
        m_strProvince = result.province;
        m_strCity = result.city;
        m_strType = result.type;
        m_strAreaCode = result.areaCode;
        m_strPostCode = result.postCode;
        break;
    }
    // After a not-found lookup this writes back what the read took, so the fields keep the
    // previous result; the number field is left alone because its text has not changed.
    UpdateData(FALSE);
    m_btnQuery.EnableWindow(TRUE);
}

BOOL CLookupDlg::OnHelpInfo(HELPINFO* /*pHelpInfo*/)
{
    ShowAboutBox();
    return FALSE;
}

void CLookupDlg::ShowAboutBox()
{
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
}
