// CLookupDlg run in this process, where Wine lets a test see what it keeps from other processes:
// the system menu, the window and drag icons, the minimised painting, the text members.
#include "LookupDlg.h"

#include "../support/TestFiles.h"
#include "DialogTexts.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

constexpr UINT kWatchdogMilliseconds = 15000;

std::function<void(HWND)> g_step;  // a timer procedure has no other way to its test
HWND g_dialog = nullptr;
const CWnd* g_running = nullptr;  // the dialog whose loop the timers run in

// Finds the dialog once it runs its loop, runs the step, then closes the dialog.
void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    // Its own window, not the active one: under load activation may not have arrived yet.
    g_dialog = g_running->m_hWnd;
    if (g_step)
        g_step(g_dialog);
    ::PostMessageA(g_dialog, WM_COMMAND, IDCANCEL, 0);
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    ADD_FAILURE() << "the dialog was still open after the time-out";
    ::PostMessageA(g_running->m_hWnd, WM_COMMAND, IDCANCEL, 0);
}

// Runs dlg modally with step(dialog window) inside its loop; returns DoModal's result.
INT_PTR RunDialog(CLookupDlg& dlg, std::function<void(HWND)> step)
{
    g_step = std::move(step);
    g_dialog = nullptr;
    g_running = &dlg;
    const UINT_PTR stepTimer = ::SetTimer(nullptr, 0, 50, &RunStep);
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, kWatchdogMilliseconds, &Watchdog);
    const INT_PTR result = dlg.DoModal();
    ::KillTimer(nullptr, stepTimer);
    ::KillTimer(nullptr, watchdog);
    g_step = nullptr;
    return result;
}

HICON MainIcon() { return ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)); }

TEST(LookupDlgInProcess, SystemMenuEndsWithSeparatorAndAboutItem)
{
    CLookupDlg dlg;
    RunDialog(dlg, [](HWND dialog) {
        HMENU menu = ::GetSystemMenu(dialog, FALSE);
        ASSERT_TRUE(menu);
        const int count = ::GetMenuItemCount(menu);
        ASSERT_GE(count, 3);
        EXPECT_NE(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), 0xFFFFFFFFu) << "the platform's items stay";
        EXPECT_TRUE(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_EQ(::GetMenuItemID(menu, count - 1), UINT{IDM_ABOUTBOX});
        char text[64] = {};
        ::GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "\xB9\xD8\xD3\xDA Tessaron(&A)...");  // 关于 Tessaron(&A)...
    });
}

TEST(LookupDlgInProcess, BothWindowIconsAndTheDragIconAreTheProgramIcon)
{
    CLookupDlg dlg;
    RunDialog(dlg, [](HWND dialog) {
        const LRESULT icon = reinterpret_cast<LRESULT>(MainIcon());
        ASSERT_NE(icon, 0);
        EXPECT_EQ(::SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), icon);
        EXPECT_EQ(::SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0), icon);
        EXPECT_EQ(::SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0), icon);
    });
}

// Records the icon-erase requests the dialog sends itself while it paints.
std::vector<WPARAM> g_iconErase;

LRESULT CALLBACK SeeIconErase(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_ICONERASEBKGND && sent->hwnd == g_dialog)
        g_iconErase.push_back(sent->wParam);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Wine gives a minimised window an empty client area, so where the icon lands cannot be seen
// here; what can is that only the minimised painting asks for the icon's background, with the
// painting's device context.
TEST(LookupDlgInProcess, MinimisedPaintingErasesBehindTheIcon)
{
    CLookupDlg dlg;
    RunDialog(dlg, [](HWND dialog) {
        HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &SeeIconErase, nullptr, ::GetCurrentThreadId());
        const auto unhook = std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&::UnhookWindowsHookEx)>(
            hook, &::UnhookWindowsHookEx);
        g_iconErase.clear();
        ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_TRUE(g_iconErase.empty()) << "a normal window has no icon to paint";

        ::ShowWindow(dialog, SW_MINIMIZE);
        ASSERT_TRUE(::IsIconic(dialog));
        g_iconErase.clear();
        // With an empty client area nothing is invalid, so the system asks for no painting.
        ::SendMessageA(dialog, WM_PAINT, 0, 0);
        ASSERT_EQ(g_iconErase.size(), 1u);
        EXPECT_NE(g_iconErase[0], 0u) << "no device context to erase on";
        ::ShowWindow(dialog, SW_RESTORE);
    });
}

// Closes each message box of this thread and keeps its text; a thread timer, so it runs inside
// the box's own loop.
std::vector<std::string> g_boxTexts;
std::vector<HWND> g_closedBoxes;

BOOL CALLBACK CloseIfMessageBox(HWND window, LPARAM)
{
    if (::GetDlgItem(window, 0xFFFF) && ::IsWindowVisible(window) &&
        std::find(g_closedBoxes.begin(), g_closedBoxes.end(), window) == g_closedBoxes.end()) {
        char text[256] = {};
        ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
        g_boxTexts.push_back(text);
        g_closedBoxes.push_back(window);
        ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

void CALLBACK CloseMessageBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    ::EnumThreadWindows(::GetCurrentThreadId(), &CloseIfMessageBox, 0);
}

// The members mirror the fields after each query: found texts come in, and a lookup that finds
// nothing keeps the last result in members and fields alike.
TEST(LookupDlgInProcess, NotFoundKeepsTheMembersOfTheLastResult)
{
    testfiles::TempDir dir;
    testfiles::WriteDatabase(dir.File("mobile.dat"),
                             std::string(testfiles::kMobileTable) +
                                 "INSERT INTO mobile VALUES(1,'1390519','P1','C1','T1','0519','213000');");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());

    CLookupDlg dlg;
    g_boxTexts.clear();
    std::vector<std::string> afterFound, afterNotFound;
    RunDialog(dlg, [&](HWND dialog) {
        const UINT_PTR closer = ::SetTimer(nullptr, 0, 50, &CloseMessageBoxes);
        auto query = [&](const char* number) {
            ::SetDlgItemTextA(dialog, IDC_MOBILE, number);
            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_QUERY, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_QUERY)));
            char field[64] = {};
            ::GetDlgItemTextA(dialog, IDC_PROVINCE, field, sizeof field);
            return std::vector<std::string>{dlg.m_strMobile.str(), dlg.m_strProvince.str(), dlg.m_strCity.str(),
                                            dlg.m_strType.str(), dlg.m_strAreaCode.str(), dlg.m_strPostCode.str(),
                                            field};
        };
        afterFound = query("13905191234");
        afterNotFound = query("1399999");
        ::KillTimer(nullptr, closer);
    });
    std::filesystem::current_path(previous);

    EXPECT_EQ(afterFound, (std::vector<std::string>{"13905191234", "P1", "C1", "T1", "0519", "213000", "P1"}));
    EXPECT_EQ(afterNotFound, (std::vector<std::string>{"1399999", "P1", "C1", "T1", "0519", "213000", "P1"}));
    EXPECT_EQ(g_boxTexts, std::vector<std::string>{kNotFoundText});
}

}  // namespace
