// SkinTestWindow: a dialog shaped like the lookup dialog, built in memory, and pixel
// captures of it for the AppFace tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace skintest {

// Control ids of the test dialog; the labels and the group box have none (-1).
enum : int {
    kMobile = 1000,
    kProvince = 1001,
    kQuery = 1006,
    kDisabled = 1010,
    kIcon = 1011,
    kGroupBox = 1012,
    kLabel = 1013,
};

// The lookup dialog's controls (labels, group box, a number edit, read-only edits, a push
// button) plus a default "确定" button (IDOK), a disabled button and an icon static.
// Modeless, shown, destroyed with the object. Counts BN_CLICKED per control id.
class TestDialog {
public:
    TestDialog();
    ~TestDialog();
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

    HWND hwnd() const { return m_hwnd; }
    HWND item(int id) const { return GetDlgItem(m_hwnd, id); }
    int clicks(int id) const;

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    std::vector<int> m_clicks;
};

// Handles whatever is queued for the thread, several rounds, so that posted and
// painted work is done.
void Pump();

// A copy of a top-level window's pixels taken from its window DC after a full redraw.
class Capture {
public:
    explicit Capture(HWND topLevel);
    // Colour at (x, y) relative to the window rectangle of `window`, a child of the
    // captured window or the window itself.
    COLORREF At(HWND window, int x, int y) const;
    // Colour at (x, y) relative to the client area of `window`.
    COLORREF AtClient(HWND window, int x, int y) const;
    // True when some pixel inside `window` shows text of colour `ink` on `background`:
    // at least 40% of the way from the background to the ink, allowing for antialiasing,
    // which under Wine rarely lets thin strokes reach the full ink colour.
    bool ShowsInk(HWND window, COLORREF ink, COLORREF background) const;
    // Whole client area of the captured window, row by row.
    std::vector<COLORREF> ClientPixels() const;

private:
    HWND m_window;
    RECT m_rect{};
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};

std::string Hex(COLORREF color);

}  // namespace skintest
