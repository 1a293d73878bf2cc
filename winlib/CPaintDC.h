// CPaintDC: the device context of one WM_PAINT, from BeginPaint to EndPaint.
#pragma once

#include <windows.h>

class CWnd;

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC();

    HDC GetSafeHdc() const { return m_paint.hdc; }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_paint.hdc, x, y, hIcon); }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint{};
};
