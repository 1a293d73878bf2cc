// CDialog: a dialog made from a template in the application's resources, run modally by our own
// message loop, with data exchange and the OK/Cancel/colour handling of its message map.
#pragma once

#include <windows.h>

#include "CDataExchange.h"
#include "CWnd.h"

class CDialog : public CWnd {
public:
    // pParentWnd null: the owner is the application's main window, unless that is this dialog.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the dialog, disables its owner, runs the modal loop until EndDialog and destroys
    // the window again. Returns EndDialog's code; -1 when the template cannot be loaded or the
    // window is not created, or when WM_QUIT ended the loop (it is posted again for the
    // enclosing loop).
    INT_PTR DoModal();
    // Ends the modal loop once the current message is handled; DoModal returns nResult.
    void EndDialog(int nResult);

    // Runs DoDataExchange in one direction; FALSE when a validation failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Called once the window and its controls exist, before it is shown. The base writes the
    // members into the controls and returns TRUE: the focus goes to the first tab stop.
    virtual BOOL OnInitDialog();
    // Every message the modal loop takes for this dialog or one of its controls comes here first;
    // TRUE consumes it. Otherwise the dialog keyboard handling (IsDialogMessage) gets it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // IDOK: read the fields; end with IDOK if that succeeds.
    virtual void OnOK();
    // IDCANCEL (Esc, the close button, Alt+F4): end with IDCANCEL.
    virtual void OnCancel();
    // The dialog's colours are the system's: default handling.
    HBRUSH OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND ModalOwner() const;
    void CenterWindow();
    void RunModalLoop();

    UINT m_templateId;
    CWnd* m_parent;
    DWORD m_templateStyle = 0;
    INT_PTR m_modalResult = -1;
    bool m_continueModal = false;
};
