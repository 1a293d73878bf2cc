// Helpers for the class layer's tests: scripted dialog, watchdog fixture, message-box catcher.
#include "TestSupport.h"

#include <algorithm>

namespace {

constexpr WPARAM kWatchdogQuit = 0x7EED;
constexpr UINT kWatchdogMilliseconds = 20000;

MessageBoxCatcher* g_catcher = nullptr;  // the hook procedure has no other way back to it

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(static_cast<int>(kWatchdogQuit)); }

HICON FindIcon(HWND box)
{
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    }
    return nullptr;
}

}  // namespace

std::string WindowText(HWND hWnd)
{
    char text[4096] = {};
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

BEGIN_MESSAGE_MAP(ScriptedDialog, CDialog)
    ON_BN_CLICKED(kRunStep, OnRunStep)
END_MESSAGE_MAP()

ScriptedDialog::ScriptedDialog(UINT nIDTemplate, CWnd* pParentWnd, Hook step, Hook onInit)
    : CDialog(nIDTemplate, pParentWnd), m_step(std::move(step)), m_onInit(std::move(onInit))
{
}

BOOL ScriptedDialog::OnInitDialog()
{
    ::GetWindowRect(m_hWnd, &rectAtInit);
    const BOOL result = CDialog::OnInitDialog();
    if (m_onInit)
        m_onInit(*this);
    if (m_hWnd)
        ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(kRunStep, BN_CLICKED), 0);
    return result;
}

void ScriptedDialog::OnRunStep()
{
    if (m_step)
        m_step(*this);
}

void WinlibTest::SetUp() { m_watchdog = ::SetTimer(nullptr, 0, kWatchdogMilliseconds, &Watchdog); }

void WinlibTest::TearDown()
{
    ::KillTimer(nullptr, m_watchdog);
    for (int code = TakeQuit(); code != -1; code = TakeQuit())
        EXPECT_NE(static_cast<WPARAM>(code), kWatchdogQuit) << "the test ran into the watchdog";
}

int WinlibTest::TakeQuit()
{
    MSG msg;
    if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return static_cast<int>(msg.wParam);
    return -1;
}

MessageBoxCatcher::MessageBoxCatcher()
    : m_hook(::SetWindowsHookExA(WH_CBT, &MessageBoxCatcher::CbtProc, nullptr, ::GetCurrentThreadId()))
{
    g_catcher = this;
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    ::UnhookWindowsHookEx(m_hook);
    g_catcher = nullptr;
}

LRESULT CALLBACK MessageBoxCatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    // A message box is the dialog whose text is control 0xFFFF; our test dialogs have none.
    if (code == HCBT_ACTIVATE && g_catcher && ::GetDlgItem(window, 0xFFFF) &&
        std::find(g_catcher->m_closed.begin(), g_catcher->m_closed.end(), window) == g_catcher->m_closed.end()) {
        g_catcher->m_boxes.push_back({WindowText(window), WindowText(::GetDlgItem(window, 0xFFFF)),
                                      ::GetWindow(window, GW_OWNER), FindIcon(window)});
        g_catcher->m_closed.push_back(window);
        ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
