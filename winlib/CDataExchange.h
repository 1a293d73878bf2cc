// Dialog data exchange: the exchange context CDataExchange and DDX_Control, DDX_Text and
// DDV_MaxChars, called in order from a dialog's DoDataExchange.
#pragma once

#include <windows.h>

#include "CString.h"

class CWnd;

// One UpdateData pass. A failed validation does not throw: it marks the pass failed, and every
// later DDX_/DDV_ call of the pass does nothing, so the fields after the failing one are not read.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    BOOL m_bSaveAndValidate;  // TRUE: controls to members (read); FALSE: members to controls
    CWnd* m_pDlgWnd;

    // The control nIDC of the dialog, remembered as the one a following DDV_ call checks.
    // A missing control fails the pass and gives null.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);

    // Ends the pass as failed; on a read, the last edit control gets the focus with its whole
    // text selected, so the user sees what to correct.
    void Fail();
    bool Failed() const { return m_failed; }

    // The edit control that the last DDX_ call prepared, or null.
    HWND LastEditCtrl() const;

private:
    int m_lastControl = 0;
    bool m_lastIsEdit = false;
    bool m_failed = false;
};

// Attaches rControl to control nIDC on the first exchange of a window; later ones do nothing.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Read: value becomes the control's whole text. Write: the control gets value only when its text
// differs, so an unchanged field keeps its caret and selection.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

// For the edit control of the preceding DDX_Text. Write, or a read within the limit: sets the
// control's limit (EM_LIMITTEXT) to nChars. A read of more than nChars bytes: tells the user
// (exclamation icon, application name as caption) and fails the pass.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
