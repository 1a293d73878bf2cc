// CWnd: a window object, either borrowing a window handle (Attach) or routing a window's
// messages through its message map (SubclassWindow, used by CDialog).
#pragma once

#ifdef UNICODE
#error "winlib is narrow throughout: build without UNICODE"
#endif

#include <windows.h>

#include "MessageMap.h"

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    // Clears the application's main-window reference if it names this object; never destroys
    // the window.
    virtual ~CWnd();

    HWND m_hWnd = nullptr;

    // Borrows hWnd: the object neither destroys nor subclasses it. FALSE when hWnd is null or
    // the object already holds a window.
    BOOL Attach(HWND hWnd);
    HWND Detach();

    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }  // returns the window that had the focus
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    HMENU GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    // A message box owned by this window; without a caption it shows the application's name.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

protected:
    // Hands the message being handled to the window's own procedure and returns its result.
    // Only valid inside a handler of a window routed through its message map.
    LRESULT Default();

    // Base handlers that derived handlers pass on to.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();

    // The root of every message map: no entries, no base.
    static const winlib::MessageMap* GetThisMessageMap();
    virtual const winlib::MessageMap* GetMessageMap() const;

    // Makes hWnd this object's window and sends its messages through the message map. The link
    // ends at WM_NCDESTROY, where m_hWnd becomes null again.
    void SubclassWindow(HWND hWnd);

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static LRESULT CALLBACK MapWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void EndSubclass();

    WNDPROC m_defaultProc = nullptr;  // the procedure we put ourselves in front of; null if none
    CurrentMessage m_currentMsg{};
};
