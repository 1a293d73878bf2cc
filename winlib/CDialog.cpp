// CDialog: template loading, the modal run with its own message loop, centring, data exchange.
#include "CDialog.h"

#include "CWinApp.h"

namespace {

// The style of a DLGTEMPLATE or DLGTEMPLATEEX (the extended form starts with version 1 and
// the signature 0xFFFF; its style comes after the help id and the extended style).
DWORD TemplateStyle(const void* dialogTemplate)
{
    const auto* words = static_cast<const WORD*>(dialogTemplate);
    if (words[0] == 1 && words[1] == 0xFFFF)
        return *reinterpret_cast<const DWORD*>(words + 6);
    return static_cast<const DLGTEMPLATE*>(dialogTemplate)->style;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDOK, OnOK)
    ON_BN_CLICKED(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_templateId(nIDTemplate), m_parent(pParentWnd) {}

INT_PTR CDialog::DoModal()
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(m_templateId), RT_DIALOG);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* dialogTemplate = loaded ? ::LockResource(loaded) : nullptr;
    if (!dialogTemplate)
        return -1;
    m_templateStyle = TemplateStyle(dialogTemplate);

    HWND owner = ModalOwner();
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);

    m_modalResult = -1;
    m_continueModal = true;
    HWND created = ::CreateDialogIndirectParamA(module, static_cast<const DLGTEMPLATE*>(dialogTemplate),
                                                owner, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (created) {
        RunModalLoop();
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_continueModal = false;

    // Enable the owner before the dialog goes, or the system activates some other window.
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        if (owner && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(owner);
        ::DestroyWindow(m_hWnd);
    }
    return created ? m_modalResult : -1;
}

void CDialog::EndDialog(int nResult)
{
    m_modalResult = nResult;
    m_continueModal = false;
    // Wakes the loop if this ran outside its dispatch (a sent message, a hook) and the queue is empty.
    if (m_hWnd)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange exchange(this, bSaveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.Failed();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG*) { return FALSE; }

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

HBRUSH CDialog::OnCtlColor(HDC, HWND, UINT) { return reinterpret_cast<HBRUSH>(Default()); }

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    // Everything after WM_INITDIALOG reaches the object through its subclass procedure first;
    // what comes back here is default handling, which the system dialog procedure does.
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* self = reinterpret_cast<CDialog*>(lParam);
    self->SubclassWindow(hWnd);

    RECT before{};
    ::GetWindowRect(hWnd, &before);
    const BOOL focusFirstTabStop = self->OnInitDialog();

    // Centre unless the template places the window itself, OnInitDialog moved or showed it,
    // or it is already gone.
    RECT after{};
    if (::IsWindow(hWnd) && self->m_hWnd == hWnd &&
        !(self->m_templateStyle & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) && !::IsWindowVisible(hWnd) &&
        ::GetWindowRect(hWnd, &after) && SameRect(before, after))
        self->CenterWindow();
    return focusFirstTabStop;
}

HWND CDialog::ModalOwner() const
{
    HWND owner = nullptr;
    if (m_parent) {
        owner = m_parent->m_hWnd;
    } else if (const CWinApp* app = AfxGetApp(); app && app->m_pMainWnd && app->m_pMainWnd != this) {
        owner = app->m_pMainWnd->m_hWnd;
    }
    // A popup cannot be owned by a child window; the system would take its top-level window.
    return owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
}

void CDialog::CenterWindow()
{
    // Over the owner while it can be seen; otherwise over the work area.
    HWND centreOn = ::GetWindow(m_hWnd, GW_OWNER);
    if (centreOn && (!::IsWindowVisible(centreOn) || ::IsIconic(centreOn)))
        centreOn = nullptr;

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(centreOn ? centreOn : m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    RECT centre = area;
    if (centreOn)
        ::GetWindowRect(centreOn, &centre);

    RECT dialog{};
    ::GetWindowRect(m_hWnd, &dialog);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    int left = (centre.left + centre.right) / 2 - width / 2;
    int top = (centre.top + centre.bottom) / 2 - height / 2;

    // Keep it inside the work area; when it is larger, its top left corner stays visible.
    if (left + width > area.right)
        left = area.right - width;
    if (left < area.left)
        left = area.left;
    if (top + height > area.bottom)
        top = area.bottom - height;
    if (top < area.top)
        top = area.top;
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::RunModalLoop()
{
    if (m_continueModal && m_hWnd && !::IsWindowVisible(m_hWnd)) {
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        ::UpdateWindow(m_hWnd);
    }
    MSG msg{};
    while (m_continueModal && m_hWnd) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1)
            break;  // only with invalid arguments
        if (got == 0) {
            // WM_QUIT ends this loop; posted again, it ends every enclosing one too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (CWinApp* app = AfxGetApp())
            app->m_msgCur = msg;
        const bool forThisDialog = msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd);
        if (forThisDialog && (PreTranslateMessage(&msg) || ::IsDialogMessageA(m_hWnd, &msg)))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
