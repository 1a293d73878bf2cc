// Tests of AppFace.dll on real windows: colours from the skin file, button states, the
// fallbacks for bad skin files, and windows drawn plain again after stop.
#include "AppFace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinTestWindow.h"

namespace {

using skintest::Capture;
using skintest::Hex;
using skintest::Pump;
using skintest::TestDialog;

// Colours no system scheme uses, so that a pixel of one can only come from the skin.
const char kSkin[] =
    "; test skin\r\n"
    "[Dialog]\r\nBackground = #204060\r\nText = #FF0000\r\n"
    "[GroupBox]\r\nFrame = #00FFFF\r\nText = #00FF00\r\n"
    "[Button]\r\nFace = #112233\r\nText = #FFFFFF\r\nBorder = #FFFF00\r\nRadius = 2\r\n"
    "[ButtonHot]\r\nFace = #445566\r\n"
    "[ButtonPressed]\r\nFace = #778899\r\n"
    "[ButtonDisabled]\r\nFace = #AA5500\r\nText = #FFAA00\r\nBorder = #550000\r\n"
    "[Edit]\r\nBackground = #F0E0D0\r\nText = #0000FF\r\nBorder = #FF00FF\r\n"
    "[ReadOnlyEdit]\r\nBackground = #D0E0F0\r\nText = #008000\r\n";

constexpr COLORREF kBackground = RGB(0x20, 0x40, 0x60);
constexpr COLORREF kFrame = RGB(0x00, 0xFF, 0xFF);
constexpr COLORREF kFace = RGB(0x11, 0x22, 0x33);
constexpr COLORREF kBorder = RGB(0xFF, 0xFF, 0x00);
constexpr COLORREF kHotFace = RGB(0x44, 0x55, 0x66);
constexpr COLORREF kPressedFace = RGB(0x77, 0x88, 0x99);
constexpr COLORREF kDisabledFace = RGB(0xAA, 0x55, 0x00);
constexpr COLORREF kDisabledBorder = RGB(0x55, 0x00, 0x00);
constexpr COLORREF kEditBackground = RGB(0xF0, 0xE0, 0xD0);
constexpr COLORREF kEditBorder = RGB(0xFF, 0x00, 0xFF);
constexpr COLORREF kReadOnlyBackground = RGB(0xD0, 0xE0, 0xF0);

LONG_PTR ButtonType(HWND button) { return GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK; }

int MiddleY(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return (rect.bottom - rect.top) / 2;
}

// Face of a push button: inside the (at most two pixels wide) border, left of any text.
COLORREF FaceOf(const Capture& capture, HWND button) {
    return capture.At(button, 2, MiddleY(button));
}

// An empty edit's client area away from where a caret could be.
COLORREF EditBackgroundOf(const Capture& capture, HWND edit) {
    RECT client{};
    GetClientRect(edit, &client);
    return capture.AtClient(edit, client.right - 3, client.bottom / 2);
}

class AppFaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::wstring(temp) + L"appface-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                Wide(info->name());
        CreateDirectoryW(m_dir.c_str(), nullptr);
        SetCursorPos(0, 0);
    }

    void TearDown() override {
        AppFaceStop();
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((m_dir + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileW((m_dir + L"\\" + found.cFileName).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(m_dir.c_str());
    }

    static std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

    // Writes the bytes as a file in the test's own folder; returns its full ANSI name.
    std::string WriteSkin(const std::string& name, const std::string& bytes) {
        const std::wstring path = m_dir + L"\\" + Wide(name);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return Narrow(path);
    }

    std::string Dir() const { return Narrow(m_dir); }

    static std::string Narrow(const std::wstring& text) {
        char buffer[MAX_PATH * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof(buffer), nullptr, nullptr);
        return buffer;
    }

    std::wstring m_dir;
};

TEST_F(AppFaceTest, DialogAndControlsTakeTheirColoursFromTheSkinFile) {
    ASSERT_TRUE(AppFaceStart(WriteSkin("test.urf", kSkin).c_str(), 0, 1, 0, 0));
    TestDialog dialog;
    const Capture capture(dialog.hwnd());

    EXPECT_EQ(Hex(capture.AtClient(dialog.hwnd(), 3, 3)), Hex(kBackground)) << "dialog";
    EXPECT_TRUE(capture.ShowsInk(dialog.item(skintest::kLabel), RGB(255, 0, 0), kBackground)) << "label text";
    const HWND group = dialog.item(skintest::kGroupBox);
    EXPECT_EQ(Hex(capture.At(group, 0, MiddleY(group))), Hex(kFrame)) << "group frame";
    EXPECT_TRUE(capture.ShowsInk(group, RGB(0, 255, 0), kBackground)) << "group caption";

    const HWND query = dialog.item(skintest::kQuery);
    EXPECT_EQ(Hex(FaceOf(capture, query)), Hex(kFace)) << "button face";
    EXPECT_EQ(Hex(capture.At(query, 0, MiddleY(query))), Hex(kBorder)) << "button border";
    EXPECT_TRUE(capture.ShowsInk(query, RGB(255, 255, 255), kFace)) << "button text";
    const HWND disabled = dialog.item(skintest::kDisabled);
    EXPECT_EQ(Hex(FaceOf(capture, disabled)), Hex(kDisabledFace)) << "disabled face";
    EXPECT_EQ(Hex(capture.At(disabled, 0, MiddleY(disabled))), Hex(kDisabledBorder));
    EXPECT_TRUE(capture.ShowsInk(disabled, RGB(255, 0xAA, 0), kDisabledFace)) << "disabled text";

    const HWND mobile = dialog.item(skintest::kMobile);
    EXPECT_EQ(Hex(EditBackgroundOf(capture, mobile)), Hex(kEditBackground)) << "edit";
    EXPECT_EQ(Hex(capture.At(mobile, 0, MiddleY(mobile))), Hex(kEditBorder)) << "edit border";
    const HWND province = dialog.item(skintest::kProvince);
    EXPECT_EQ(Hex(EditBackgroundOf(capture, province)), Hex(kReadOnlyBackground)) << "read-only";
    EXPECT_EQ(Hex(capture.At(province, 0, MiddleY(province))), Hex(kEditBorder));
}

TEST_F(AppFaceTest, EditsShowTheirTextInTheSkinsTextColours) {
    ASSERT_TRUE(AppFaceStart(WriteSkin("test.urf", kSkin).c_str(), 0, 0, 0, 0));
    TestDialog dialog;
    SetDlgItemTextW(dialog.hwnd(), skintest::kMobile, L"1380000");
    SetDlgItemTextW(dialog.hwnd(), skintest::kProvince, L"WWWW");
    const Capture capture(dialog.hwnd());
    EXPECT_TRUE(capture.ShowsInk(dialog.item(skintest::kMobile), RGB(0, 0, 255), kEditBackground));
    EXPECT_TRUE(capture.ShowsInk(dialog.item(skintest::kProvince), RGB(0, 0x80, 0), kReadOnlyBackground));
}

TEST_F(AppFaceTest, PushButtonFollowsHotAndPressedStates) {
    ASSERT_TRUE(AppFaceStart(WriteSkin("test.urf", kSkin).c_str(), 0, 1, 0, 0));
    TestDialog dialog;
    const HWND query = dialog.item(skintest::kQuery);
    RECT rect{};
    GetWindowRect(query, &rect);

    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(query, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(Hex(FaceOf(Capture(dialog.hwnd()), query)), Hex(kHotFace)) << "hot";

    SendMessageW(query, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(Hex(FaceOf(Capture(dialog.hwnd()), query)), Hex(kPressedFace)) << "pressed";
    SendMessageW(query, BM_SETSTATE, FALSE, 0);

    SetCursorPos(0, 0);
    SendMessageW(query, WM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_EQ(Hex(FaceOf(Capture(dialog.hwnd()), query)), Hex(kFace)) << "after leaving";

    EnableWindow(query, FALSE);
    EXPECT_EQ(Hex(FaceOf(Capture(dialog.hwnd()), query)), Hex(kDisabledFace)) << "disabled";
    EnableWindow(query, TRUE);
    EXPECT_EQ(Hex(FaceOf(Capture(dialog.hwnd()), query)), Hex(kFace)) << "enabled again";
}

// Owner drawing must not change how buttons behave in the dialog.
TEST_F(AppFaceTest, SkinnedButtonsKeepClicksAndTheDefaultButton) {
    ASSERT_TRUE(AppFaceStart(WriteSkin("test.urf", kSkin).c_str(), 0, 1, 0, 0));
    TestDialog dialog;
    const HWND query = dialog.item(skintest::kQuery);
    const HWND ok = dialog.item(IDOK);
    EXPECT_EQ(ButtonType(query), BS_OWNERDRAW);
    EXPECT_EQ(ButtonType(ok), BS_OWNERDRAW);
    EXPECT_EQ(LOWORD(SendMessageW(dialog.hwnd(), DM_GETDEFID, 0, 0)), IDOK);
    EXPECT_TRUE(SendMessageW(ok, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
    EXPECT_TRUE(SendMessageW(query, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);

    // A fast double click is two clicks on a push button, as without the skin.
    SendMessageW(query, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(query, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(query, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(query, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(dialog.clicks(skintest::kQuery), 2);

    // The dialog manager moves the default state with BM_SETSTYLE; drawing stays ours.
    SendMessageW(dialog.hwnd(), DM_SETDEFID, skintest::kQuery, 0);
    Pump();
    EXPECT_EQ(ButtonType(query), BS_OWNERDRAW);
    EXPECT_EQ(ButtonType(ok), BS_OWNERDRAW);
    EXPECT_TRUE(SendMessageW(query, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
    EXPECT_TRUE(SendMessageW(ok, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);

    AppFaceStop();
    EXPECT_EQ(ButtonType(query), BS_DEFPUSHBUTTON);
    EXPECT_EQ(ButtonType(ok), BS_PUSHBUTTON);
    EXPECT_EQ(ButtonType(dialog.item(skintest::kDisabled)), BS_PUSHBUTTON);
    EXPECT_FALSE(IsWindowEnabled(dialog.item(skintest::kDisabled)));
}

TEST_F(AppFaceTest, AfterStopTheSameWindowsDrawAsPlainWin32) {
    std::vector<COLORREF> plain;
    {
        TestDialog dialog;
        plain = Capture(dialog.hwnd()).ClientPixels();
    }
    ASSERT_TRUE(AppFaceStart(WriteSkin("test.urf", kSkin).c_str(), 0, 1, 0, 0));
    TestDialog dialog;
    const std::vector<COLORREF> skinned = Capture(dialog.hwnd()).ClientPixels();
    ASSERT_EQ(skinned.size(), plain.size());
    EXPECT_NE(skinned, plain);
    AppFaceStop();
    const std::vector<COLORREF> after = Capture(dialog.hwnd()).ClientPixels();
    ASSERT_EQ(after.size(), plain.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) differing += plain[i] != after[i];
    EXPECT_EQ(differing, 0u) << "pixels that still differ from a never-skinned dialog";
    // The icon static still shows its icon.
    EXPECT_NE(Hex(Capture(dialog.hwnd()).AtClient(dialog.item(skintest::kIcon), 16, 16)),
              Hex(GetSysColor(COLOR_3DFACE)));
}

TEST_F(AppFaceTest, IconStaticKeepsItsIcon) {
    ASSERT_TRUE(AppFaceStart(WriteSkin("test.urf", kSkin).c_str(), 0, 1, 0, 0));
    TestDialog dialog;
    const Capture capture(dialog.hwnd());
    const HWND icon = dialog.item(skintest::kIcon);
    RECT client{};
    GetClientRect(icon, &client);
    int iconPixels = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) iconPixels += capture.AtClient(icon, x, y) != kBackground;
    }
    EXPECT_GT(iconPixels, client.right * client.bottom / 4);
    EXPECT_EQ(Hex(capture.AtClient(icon, 0, 0)), Hex(kBackground));
}

// What the timer saw of the message box while it was open.
struct MessageBoxSeen {
    bool found = false;
    COLORREF background = CLR_INVALID;
    COLORREF face = CLR_INVALID;
};
MessageBoxSeen g_seen;
const wchar_t kBoxTitle[] = L"skin test box";

BOOL CALLBACK InspectMessageBox(HWND hwnd, LPARAM) {
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    if (std::wstring(title) != kBoxTitle || g_seen.found) return TRUE;
    g_seen.found = true;
    const Capture capture(hwnd);
    g_seen.background = capture.AtClient(hwnd, 2, 2);
    if (HWND ok = GetDlgItem(hwnd, IDOK)) g_seen.face = FaceOf(capture, ok);
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK OnMessageBoxTimer(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), InspectMessageBox, 0);
}

// Message boxes are dialogs of the thread too; the box is inspected from a timer that
// runs inside its own modal loop.
TEST_F(AppFaceTest, MessageBoxesGetTheSkin) {
    ASSERT_TRUE(AppFaceStart(WriteSkin("test.urf", kSkin).c_str(), 0, 1, 0, 0));
    g_seen = MessageBoxSeen{};
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, OnMessageBoxTimer);
    MessageBoxW(nullptr, L"text", kBoxTitle, MB_OK);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(g_seen.found);
    EXPECT_EQ(Hex(g_seen.background), Hex(kBackground));
    EXPECT_EQ(Hex(g_seen.face), Hex(kFace));
}

TEST_F(AppFaceTest, FontIsReplacedOnlyByAFaceThatExistsAndComesBackAfterStop) {
    struct Case {
        const char* skin;
        bool replaced;
    };
    const Case cases[] = {
        {"[Font]\nFace = Tahoma\nSize = 12\n", true},
        {"[Font]\nFace = No Such Face Anywhere\nSize = 12\n", false},
        {"[Font]\nFace = Tahoma\nSize = 400\n", false},
        {"[Font]\nFace = Tahoma\n", false},
    };
    for (const Case& c : cases) {
        HFONT original = nullptr;
        {
            TestDialog plain;
            original = reinterpret_cast<HFONT>(SendMessageW(plain.item(skintest::kMobile), WM_GETFONT, 0, 0));
        }
        ASSERT_TRUE(AppFaceStart(WriteSkin("font.urf", c.skin).c_str(), 0, 1, 0, 0)) << c.skin;
        TestDialog dialog;
        const HWND mobile = dialog.item(skintest::kMobile);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(mobile, WM_GETFONT, 0, 0));
        LOGFONTW used{};
        GetObjectW(font, sizeof(used), &used);
        if (c.replaced) {
            EXPECT_STREQ(used.lfFaceName, L"Tahoma") << c.skin;
        } else {
            EXPECT_STRNE(used.lfFaceName, L"Tahoma") << c.skin;
        }
        const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog.hwnd(), WM_GETFONT, 0, 0));
        AppFaceStop();
        EXPECT_EQ(SendMessageW(mobile, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(dialogFont))
            << c.skin;
        (void)original;
    }
}

// Bad skin files: no crash, nothing written, and the documented fallback.
TEST_F(AppFaceTest, BadSkinFilesFallBackQuietly) {
    struct Case {
        const char* name;
        std::string bytes;  // empty name below means: no such file
        bool started;       // whether skinning runs (with defaults for bad values)
    };
    const Case cases[] = {
        {"empty", "", false},
        {"binary", std::string("MZ\x90\0\x03\0\0\0\x04\0", 10) + "[Dialog]\n", false},
        {"half-written header", "[Dia", false},
        {"no known section", "[Colours]\nBackground=#FF0000\n", false},
        {"too large", "[Dialog]\n" + std::string(70 * 1024, ';'), false},
        {"half-written value", "[Dialog]\nBackground=#2040", true},
        {"absurd values",
         "[Dialog]\nBackground=#GGGGGG\nText=999,999,999\n[Button]\nRadius=100000\n"
         "[Font]\nFace=\nSize=-2147483648\n",
         true},
    };
    for (const Case& c : cases) {
        const std::string path = WriteSkin("bad.urf", c.bytes);
        EXPECT_EQ(AppFaceStart(path.c_str(), 0, 1, 0, 0) != FALSE, c.started) << c.name;
        {
            TestDialog dialog;
            const Capture capture(dialog.hwnd());
            EXPECT_EQ(Hex(capture.AtClient(dialog.hwnd(), 3, 3)), Hex(GetSysColor(COLOR_3DFACE)))
                << c.name;
            EXPECT_EQ(ButtonType(dialog.item(skintest::kQuery)),
                      c.started ? BS_OWNERDRAW : BS_PUSHBUTTON)
                << c.name;
        }
        AppFaceStop();
        // Nothing was written: the file is as the test left it and nothing new appeared.
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(GetFileSize(file, nullptr), c.bytes.size()) << c.name;
        CloseHandle(file);
    }
    for (const char* name : {"", "missing.urf", "C:\\no\\such\\folder\\GtBase.urf", "."}) {
        EXPECT_FALSE(AppFaceStart(name, 0, 1, 0, 0)) << name;
        AppFaceStop();
    }
    EXPECT_FALSE(AppFaceStart(nullptr, 0, 1, 0, 0));
    AppFaceStop();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((m_dir + L"\\*").c_str(), &found);
    int files = 0;
    do {
        files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_EQ(files, 1);
}

TEST_F(AppFaceTest, RepeatedAndUnbalancedCallsAreHarmless) {
    EXPECT_TRUE(AppFaceStop());
    EXPECT_TRUE(AppFaceStop());
    const std::string first = WriteSkin("first.urf", kSkin);
    const std::string second = WriteSkin("second.urf", "[Dialog]\nBackground=#0000FF\n");
    ASSERT_TRUE(AppFaceStart(first.c_str(), 0, 1, 0, 0));
    // A second start keeps the first skin.
    EXPECT_TRUE(AppFaceStart(second.c_str(), 0, 1, 0, 0));
    {
        TestDialog dialog;
        EXPECT_EQ(Hex(Capture(dialog.hwnd()).AtClient(dialog.hwnd(), 3, 3)), Hex(kBackground));
        AppFaceStop();
        AppFaceStop();
        EXPECT_EQ(Hex(Capture(dialog.hwnd()).AtClient(dialog.hwnd(), 3, 3)),
                  Hex(GetSysColor(COLOR_3DFACE)));
    }
    // After a stop, a start takes the new file.
    ASSERT_TRUE(AppFaceStart(second.c_str(), 0, 1, 0, 0));
    TestDialog dialog;
    EXPECT_EQ(Hex(Capture(dialog.hwnd()).AtClient(dialog.hwnd(), 3, 3)), Hex(RGB(0, 0, 255)));
}

TEST_F(AppFaceTest, RelativeNamesAreFoundInTheCurrentFolderThenBesideTheDll) {
    WriteSkin("relative.urf", "[Dialog]\nBackground=#0000FF\n");
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(m_dir.c_str());
    EXPECT_TRUE(AppFaceStart("relative.urf", 0, 1, 0, 0));
    AppFaceStop();
    SetCurrentDirectoryW(previous);

    // Beside the DLL: a uniquely named file in its folder, removed again.
    wchar_t dll[MAX_PATH];
    GetModuleFileNameW(GetModuleHandleW(L"AppFace.dll"), dll, MAX_PATH);
    std::wstring beside(dll);
    beside = beside.substr(0, beside.find_last_of(L"\\/") + 1) + L"appface-test-" +
             std::to_wstring(GetCurrentProcessId()) + L".urf";
    HANDLE file = CreateFileW(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const char bytes[] = "[Dialog]\nBackground=#0000FF\n";
    DWORD written = 0;
    WriteFile(file, bytes, sizeof(bytes) - 1, &written, nullptr);
    CloseHandle(file);
    SetCurrentDirectoryW(m_dir.c_str());
    const std::string name = Narrow(beside.substr(beside.find_last_of(L"\\/") + 1));
    EXPECT_TRUE(AppFaceStart(name.c_str(), 0, 1, 0, 0));
    {
        TestDialog dialog;
        EXPECT_EQ(Hex(Capture(dialog.hwnd()).AtClient(dialog.hwnd(), 3, 3)), Hex(RGB(0, 0, 255)));
    }
    AppFaceStop();
    SetCurrentDirectoryW(previous);
    DeleteFileW(beside.c_str());
}

DWORD WINAPI QueryButtonTypeOnNewDialog(void* type) {
    TestDialog dialog;
    *static_cast<LONG_PTR*>(type) = ButtonType(dialog.item(skintest::kQuery));
    return 0;
}

// Skinning belongs to the thread that started it.
TEST_F(AppFaceTest, OtherThreadsWindowsAreNotSkinned) {
    ASSERT_TRUE(AppFaceStart(WriteSkin("test.urf", kSkin).c_str(), 0, 1, 0, 0));
    LONG_PTR otherType = -1;
    HANDLE thread = CreateThread(nullptr, 0, QueryButtonTypeOnNewDialog, &otherType, 0, nullptr);
    ASSERT_TRUE(thread);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_EQ(otherType, BS_PUSHBUTTON);
}

}  // namespace
