// Dialog data exchange: the exchange context and the DDX_/DDV_ routines.
#include "CDataExchange.h"

#include "CWnd.h"
#include "WinlibTexts.h"

#include <string>

namespace {

std::string WindowText(HWND hWnd)
{
    // The length may be an overestimate (double-byte text), never an underestimate.
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hWnd)) + 1, '\0');
    const int length = ::GetWindowTextA(hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND control = m_pDlgWnd->GetDlgItem(nIDC);
    if (!control) {
        m_failed = true;  // a DoDataExchange naming a control the template lacks
        return nullptr;
    }
    m_lastControl = nIDC;
    m_lastIsEdit = false;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND control = PrepareCtrl(nIDC);
    m_lastIsEdit = control != nullptr;
    return control;
}

HWND CDataExchange::LastEditCtrl() const
{
    return m_lastIsEdit ? m_pDlgWnd->GetDlgItem(m_lastControl) : nullptr;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate) {
        if (HWND edit = LastEditCtrl()) {
            ::SetFocus(edit);
            ::SendMessageA(edit, EM_SETSEL, 0, -1);
        }
    }
    m_failed = true;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (pDX->Failed())
        return;
    HWND control = pDX->PrepareCtrl(nIDC);
    // A handle left from an earlier run of the same dialog object names a destroyed window.
    if (control && rControl.m_hWnd != control) {
        rControl.Detach();
        rControl.Attach(control);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    if (pDX->Failed())
        return;
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = WindowText(control);
    else if (WindowText(control) != value.str())
        ::SetWindowTextA(control, value);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->Failed())
        return;
    if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
        const CString prompt = FormatWithArg(kMaxCharsPrompt, std::to_string(nChars).c_str());
        pDX->m_pDlgWnd->MessageBox(prompt, nullptr, MB_ICONEXCLAMATION);
        pDX->Fail();
    } else if (HWND edit = pDX->LastEditCtrl()) {
        ::SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
    }
}
