// SkinTestWindow: the in-memory dialog template and the window capture used by the tests.
#include "SkinTestWindow.h"

#include <cstdio>
#include <cstdlib>

namespace skintest {
namespace {

// DLGTEMPLATE and DLGITEMTEMPLATE records are written word by word into this buffer.
class TemplateWriter {
public:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }
    void AlignDword() {
        if (m_words.size() % 2) Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, int id, WORD classAtom,
              const wchar_t* text) {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
        Word(static_cast<WORD>(id));
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0);
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    std::vector<WORD> m_words;
};

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr int kNoId = -1;

TemplateWriter BuildTemplate() {
    TemplateWriter t;
    const DWORD readOnly = WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL;
    t.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    t.Dword(0);
    t.Word(17);  // controls
    for (short v : {40, 40, 243, 185}) t.Word(static_cast<WORD>(v));
    t.Word(0);  // menu
    t.Word(0);  // class
    t.Text(L"\u624b\u673a\u53f7\u7801\u5f52\u5c5e\u5730\u67e5\u8be2");  // 手机号码归属地查询
    t.Word(9);
    t.Text(L"\u5b8b\u4f53");  // 宋体
    t.Item(WS_GROUP, 27, 30, 17, 8, kLabel, kStatic, L"\u624b\u673a\u53f7");  // 手机号
    t.Item(WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, 61, 28, 90, 14, kMobile, kEdit, L"");
    t.Item(WS_GROUP, 27, 56, 17, 8, kNoId, kStatic, L"\u7701\u4efd");  // 省份
    t.Item(readOnly, 61, 53, 148, 14, kProvince, kEdit, L"");
    t.Item(WS_GROUP, 27, 79, 17, 8, kNoId, kStatic, L"\u57ce\u5e02");  // 城市
    t.Item(readOnly, 61, 76, 148, 14, 1002, kEdit, L"");
    t.Item(WS_GROUP, 27, 124, 17, 8, kNoId, kStatic, L"\u533a\u53f7");  // 区号
    t.Item(readOnly, 61, 122, 43, 14, 1003, kEdit, L"");
    t.Item(WS_GROUP, 120, 125, 17, 8, kNoId, kStatic, L"\u90ae\u7f16");  // 邮编
    t.Item(readOnly, 155, 122, 53, 14, 1004, kEdit, L"");
    t.Item(WS_GROUP, 27, 102, 17, 8, kNoId, kStatic, L"\u7c7b\u578b");  // 类型
    t.Item(readOnly, 61, 99, 148, 14, 1005, kEdit, L"");
    t.Item(WS_TABSTOP | BS_PUSHBUTTON, 159, 28, 50, 14, kQuery, kButton, L"\u67e5  \u8be2");
    t.Item(WS_TABSTOP | BS_DEFPUSHBUTTON, 120, 160, 50, 14, IDOK, kButton, L"\u786e\u5b9a");
    t.Item(WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 178, 160, 50, 14, kDisabled, kButton,
           L"\u505c\u7528");  // 停用
    t.Item(SS_ICON, 15, 157, 20, 20, kIcon, kStatic, L"");
    t.Item(BS_GROUPBOX, 15, 12, 213, 140, kGroupBox, kButton,
           L"\u8bf7\u8f93\u5165\u624b\u673a\u53f7\u7801");  // 请输入手机号码
    return t;
}

}  // namespace

TestDialog::TestDialog() : m_clicks(2048, 0) {
    const TemplateWriter t = BuildTemplate();
    m_hwnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.get(), nullptr, Proc,
                                        reinterpret_cast<LPARAM>(this));
    if (!m_hwnd) {
        std::fprintf(stderr, "test dialog could not be created\n");
        std::abort();
    }
    SendDlgItemMessageW(m_hwnd, kIcon, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */)), 0);
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
    // The focus sits on the query button in every test, so that no caret blinks in a capture.
    SetFocus(item(kQuery));
    Pump();
}

TestDialog::~TestDialog() {
    DestroyWindow(m_hwnd);
    Pump();
}

int TestDialog::clicks(int id) const { return m_clicks.at(static_cast<std::size_t>(id)); }

INT_PTR CALLBACK TestDialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<TestDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        LOWORD(wParam) < self->m_clicks.size()) {
        ++self->m_clicks[LOWORD(wParam)];
        return TRUE;
    }
    return FALSE;
}

void Pump() {
    for (int round = 0; round < 5; ++round) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
}

Capture::Capture(HWND topLevel) : m_window(topLevel) {
    RedrawWindow(topLevel, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    GetWindowRect(topLevel, &m_rect);
    m_width = m_rect.right - m_rect.left;
    m_height = m_rect.bottom - m_rect.top;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC window = GetWindowDC(topLevel);
    HDC memory = CreateCompatibleDC(window);
    HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, m_width, m_height, window, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    m_pixels.reserve(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height));
    for (int i = 0; i < m_width * m_height; ++i) {
        const DWORD p = pixels[i];
        m_pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(topLevel, window);
}

COLORREF Capture::At(HWND window, int x, int y) const {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int px = rect.left - m_rect.left + x;
    const int py = rect.top - m_rect.top + y;
    if (px < 0 || py < 0 || px >= m_width || py >= m_height) return CLR_INVALID;
    return m_pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(m_width) +
                    static_cast<std::size_t>(px)];
}

COLORREF Capture::AtClient(HWND window, int x, int y) const {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT rect{};
    GetWindowRect(window, &rect);
    return At(window, origin.x - rect.left + x, origin.y - rect.top + y);
}

bool Capture::ShowsInk(HWND window, COLORREF ink, COLORREF background) const {
    const double from[3] = {double(GetRValue(background)), double(GetGValue(background)),
                            double(GetBValue(background))};
    const double way[3] = {GetRValue(ink) - from[0], GetGValue(ink) - from[1],
                           GetBValue(ink) - from[2]};
    const double length = way[0] * way[0] + way[1] * way[1] + way[2] * way[2];
    RECT rect{};
    GetWindowRect(window, &rect);
    for (int y = 0; y < rect.bottom - rect.top; ++y) {
        for (int x = 0; x < rect.right - rect.left; ++x) {
            const COLORREF c = At(window, x, y);
            if (c == CLR_INVALID || length == 0) continue;
            const double p[3] = {GetRValue(c) - from[0], GetGValue(c) - from[1], GetBValue(c) - from[2]};
            const double t = (p[0] * way[0] + p[1] * way[1] + p[2] * way[2]) / length;
            bool onLine = t >= 0.4;
            for (int k = 0; k < 3 && onLine; ++k) onLine = std::abs(p[k] - t * way[k]) <= 24;
            if (onLine) return true;
        }
    }
    return false;
}

std::vector<COLORREF> Capture::ClientPixels() const {
    RECT client{};
    GetClientRect(m_window, &client);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) pixels.push_back(AtClient(m_window, x, y));
    }
    return pixels;
}

std::string Hex(COLORREF color) {
    char text[16];
    std::snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(color), GetGValue(color),
                  GetBValue(color));
    return text;
}

}  // namespace skintest
