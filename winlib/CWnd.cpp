// CWnd: borrowing a window, message-map routing through a window subclass, default handling.
#include "CWnd.h"

#include "CWinApp.h"

namespace {

// The object pointer lives on its window; a property rather than GWLP_USERDATA, which the
// skinning library or a control's own code may use.
constexpr char kObjectProperty[] = "winlib.CWnd";

bool Matches(const winlib::MessageMapEntry& entry, UINT message, WPARAM wParam)
{
    if (message < entry.message || message > entry.lastMessage)
        return false;
    return message != WM_COMMAND || (HIWORD(wParam) == entry.code && LOWORD(wParam) == entry.id);
}

}  // namespace

CWnd::~CWnd()
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    if (m_defaultProc && ::IsWindow(m_hWnd))
        EndSubclass();  // leaves no pointer to a dead object on a live window
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    return hWnd;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                               reinterpret_cast<LPARAM>(hIcon)));
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    if (!lpszCaption) {
        const CWinApp* app = AfxGetApp();
        lpszCaption = app && app->m_pszAppName ? app->m_pszAppName : "";
    }
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

LRESULT CWnd::Default()
{
    return ::CallWindowProcA(m_defaultProc, m_hWnd, m_currentMsg.message, m_currentMsg.wParam,
                             m_currentMsg.lParam);
}

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

void CWnd::OnPaint() { Default(); }

const winlib::MessageMap* CWnd::GetThisMessageMap()
{
    static const winlib::MessageMapEntry entries[] = {{0, 0, 0, 0, nullptr}};
    static const winlib::MessageMap map{nullptr, entries};
    return &map;
}

const winlib::MessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

void CWnd::SubclassWindow(HWND hWnd)
{
    m_hWnd = hWnd;
    ::SetPropA(hWnd, kObjectProperty, this);
    m_defaultProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::MapWindowProc)));
}

void CWnd::EndSubclass()
{
    // Someone who subclassed after us still chains to us; only unhook while we are on top.
    if (::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWnd::MapWindowProc))
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_defaultProc));
    ::RemovePropA(m_hWnd, kObjectProperty);
    m_defaultProc = nullptr;
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::MapWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CWnd*>(::GetPropA(hWnd, kObjectProperty));
    if (!self)  // only if the property was taken off behind our back
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    // Messages nest (a handler's SendMessage, a modal box); each level keeps its own.
    const CurrentMessage outer = self->m_currentMsg;
    self->m_currentMsg = {message, wParam, lParam};

    if (message == WM_NCDESTROY) {
        // The window is going: the main-window reference must not outlive it, and the thread's
        // loop is told to end as the platform does for an application's main window.
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == self) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        const LRESULT result = self->Default();
        self->EndSubclass();
        return result;
    }

    const LRESULT result = self->Dispatch(message, wParam, lParam);
    self->m_currentMsg = outer;
    return result;
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const winlib::MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const winlib::MessageMapEntry* entry = map->entries; entry->thunk; ++entry) {
            if (Matches(*entry, message, wParam))
                return entry->thunk(*this, message, wParam, lParam);
        }
    }
    return Default();
}
