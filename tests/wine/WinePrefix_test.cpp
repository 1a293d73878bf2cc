// Checks that the Wine prefix gives the program what Chinese Windows would: code page 936,
// GBK conversions, a CJK font behind the SimSun names, and windows on the display.
// Chinese text is written as GBK or UTF-16 escapes so this file stays plain ASCII.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Locale, AnsiCodePageIsGbk)
{
    EXPECT_EQ(GetACP(), 936u);
    EXPECT_EQ(GetOEMCP(), 936u);
    // Wine's own texts (message box buttons) follow the user interface language.
    EXPECT_EQ(GetUserDefaultUILanguage(), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    EXPECT_EQ(GetSystemDefaultLangID(), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
}

struct GbkCase {
    const char* gbk;
    const wchar_t* utf16;
};

// The ANSI functions convert with CP_ACP; each text must survive the trip both ways unchanged.
const GbkCase kGbkCases[] = {
    {"\xd6\xd0\xb9\xfa", L"\u4e2d\u56fd"},                             // zhong guo
    {"\xb9\xe3\xb6\xab\xca\xa1", L"\u5e7f\u4e1c\u7701"},               // guang dong sheng
    {"139 \xb1\xb1\xbe\xa9 0755", L"139 \u5317\u4eac 0755"},          // ASCII around bei jing
    {"\x81\x40", L"\u4e02"},                                           // GBK only, not in GB2312
    {"\xa1\xa2\xa3\xac", L"\u3001\uff0c"},                             // CJK punctuation
};

TEST(Locale, GbkTextRoundTripsThroughTheAnsiCodePage)
{
    for (const GbkCase& c : kGbkCases) {
        SCOPED_TRACE(c.gbk);
        wchar_t wide[64] = {};
        const int wideLen = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, c.gbk, -1, wide, 64);
        ASSERT_GT(wideLen, 0);
        EXPECT_EQ(std::wstring(wide), std::wstring(c.utf16));

        char narrow[64] = {};
        BOOL lossy = FALSE;
        const int narrowLen = WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, 64, nullptr, &lossy);
        ASSERT_GT(narrowLen, 0);
        EXPECT_FALSE(lossy);
        EXPECT_EQ(std::string(narrow), std::string(c.gbk));
    }
}

// Owns a memory DC and the font selected into it, restoring the DC's own font first.
class FontInDc {
public:
    FontInDc(const char* face, BYTE charset)
        : m_dc(CreateCompatibleDC(nullptr)),
          m_font(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face)),
          m_old(m_dc && m_font ? SelectObject(m_dc, m_font) : nullptr)
    {
    }
    ~FontInDc()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
        if (m_font)
            DeleteObject(m_font);
        if (m_dc)
            DeleteDC(m_dc);
    }
    FontInDc(const FontInDc&) = delete;
    FontInDc& operator=(const FontInDc&) = delete;

    bool ok() const { return m_old != nullptr; }
    HDC dc() const { return m_dc; }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
};

// The dialogs ask for these faces by name.
const char* const kChineseFaces[] = {
    "\xcb\xce\xcc\xe5",         // song ti (SimSun) in GBK
    "\xd0\xc2\xcb\xce\xcc\xe5", // xin song ti (NSimSun) in GBK
    "SimSun",
    "NSimSun",
};

// Dialog fonts come with DEFAULT_CHARSET, explicit Chinese fonts with GB2312_CHARSET.
const BYTE kCharsets[] = {DEFAULT_CHARSET, GB2312_CHARSET};

TEST(Fonts, SimSunNamesAreAChineseFontOfThatName)
{
    for (const char* face : kChineseFaces) {
        for (BYTE charset : kCharsets) {
            SCOPED_TRACE(std::string(face) + " charset " + std::to_string(charset));
            FontInDc font(face, charset);
            ASSERT_TRUE(font.ok());
            // A registered face keeps its name, as on Chinese Windows; a font merely picked
            // by the charset (what an unprepared prefix gives) reports its own name instead.
            char actual[LF_FACESIZE] = {};
            ASSERT_GT(GetTextFaceA(font.dc(), LF_FACESIZE, actual), 0);
            EXPECT_STREQ(actual, face);
            EXPECT_EQ(GetTextCharset(font.dc()), GB2312_CHARSET);

            const wchar_t text[] = L"\u4e2d\u6587\u7701\u5e02"; // zhong wen sheng shi
            WORD glyphs[4] = {};
            ASSERT_EQ(GetGlyphIndicesW(font.dc(), text, 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 4u);
            for (WORD glyph : glyphs)
                EXPECT_NE(glyph, 0xffff);
        }
    }
}

LRESULT CALLBACK TestWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        SetPropA(hwnd, "painted", reinterpret_cast<HANDLE>(1));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(Display, WindowAppearsWithItsSizeAndGbkCaption)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TestWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "WinePrefixTest";
    ASSERT_NE(RegisterClassA(&wc), 0);

    const char caption[] = "\xca\xd6\xbb\xfa\xba\xc5\xc2\xeb"; // shou ji hao ma
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, caption, WS_OVERLAPPEDWINDOW, 50, 40, 320, 200,
                                nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);

    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_NE(GetPropA(hwnd, "painted"), nullptr);
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    // Without a window manager nothing moves or resizes the window behind the program's back.
    EXPECT_EQ(rc.left, 50);
    EXPECT_EQ(rc.top, 40);
    EXPECT_EQ(rc.right - rc.left, 320);
    EXPECT_EQ(rc.bottom - rc.top, 200);
    char text[32] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    EXPECT_STREQ(text, caption);

    RemovePropA(hwnd, "painted");
    DestroyWindow(hwnd);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

} // namespace
