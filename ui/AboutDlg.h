// CAboutDlg: the About box, with the program's icon, name, version and notices.
#pragma once

#include "CDialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override = default;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // F1 inside the box: nothing, and the request goes no further.
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);

    DECLARE_MESSAGE_MAP()
};
