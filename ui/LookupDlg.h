// CLookupDlg: the main window, where a number is typed and its registration shown.
#pragma once

#include "CButton.h"
#include "CDialog.h"
#include "CEdit.h"
#include "CString.h"

class CLookupDlg : public CDialog {
public:
    explicit CLookupDlg(CWnd* pParent = nullptr);
    ~CLookupDlg() override = default;

    // Enter runs the query wherever the focus is, and never reaches the dialog as IDOK.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    CEdit m_editMobile;
    CButton m_btnQuery;
    CString m_strCity;
    CString m_strMobile;
    CString m_strPostCode;
    CString m_strAreaCode;
    CString m_strType;
    CString m_strProvince;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // IDOK must not end the dialog: only Esc and closing the window do.
    void OnOK() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnQuery();
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);

    DECLARE_MESSAGE_MAP()

    HICON m_hIcon;  // a shared resource icon: never destroyed here

private:
    void ShowAboutBox();
};
