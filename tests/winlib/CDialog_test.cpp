// CDialog: modal run and result codes, owner handling, WM_QUIT, main window, pre-translation, centring.
#include "TestResource.h"
#include "TestSupport.h"

namespace {

using Hook = ScriptedDialog::Hook;

void Post(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    ::PostMessageA(hWnd, message, wParam, lParam);
}

RECT WindowRect(HWND hWnd)
{
    RECT rect{};
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

RECT WorkArea(HWND onMonitorOf)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoA(::MonitorFromWindow(onMonitorOf, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

// Where a window of this size lands when centred on centre and kept inside area.
POINT CentredIn(const RECT& window, const RECT& centre, const RECT& area)
{
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG left = (centre.left + centre.right) / 2 - width / 2;
    LONG top = (centre.top + centre.bottom) / 2 - height / 2;
    left = std::max(area.left, std::min(left, area.right - width));
    top = std::max(area.top, std::min(top, area.bottom - height));
    return {left, top};
}

class MainWindowScope {
public:
    explicit MainWindowScope(CWnd* wnd) { TheTestApp().m_pMainWnd = wnd; }
    ~MainWindowScope() { TheTestApp().m_pMainWnd = nullptr; }
};

class DialogTest : public WinlibTest {};

struct EndCase {
    const char* name;
    Hook step;
    Hook onInit;
    INT_PTR expected;
};

TEST_F(DialogTest, ModalRunEndsWithTheCodeOfHowItWasClosed)
{
    const EndCase cases[] = {
        {"IDOK command", [](ScriptedDialog& d) { Post(d.m_hWnd, WM_COMMAND, IDOK); }, {}, IDOK},
        {"Esc in a field", [](ScriptedDialog& d) { Post(d.GetDlgItem(IDC_FIRST), WM_KEYDOWN, VK_ESCAPE); }, {}, IDCANCEL},
        {"close button", [](ScriptedDialog& d) { Post(d.m_hWnd, WM_SYSCOMMAND, SC_CLOSE); }, {}, IDCANCEL},
        {"EndDialog from a handler", [](ScriptedDialog& d) { d.EndDialog(4321); }, {}, 4321},
        {"EndDialog in OnInitDialog", {}, [](ScriptedDialog& d) { d.EndDialog(1234); }, 1234},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = nullptr;
        ScriptedDialog dialog(IDD_PLAIN, nullptr, c.step, [&](ScriptedDialog& d) {
            window = d.m_hWnd;
            if (c.onInit)
                c.onInit(d);
        });
        EXPECT_EQ(dialog.DoModal(), c.expected);
        EXPECT_FALSE(::IsWindow(window)) << "the window outlived DoModal";
        EXPECT_EQ(dialog.m_hWnd, nullptr);
    }
}

TEST_F(DialogTest, MissingTemplateGivesMinusOneAndLeavesTheOwnerEnabled)
{
    INT_PTR innerResult = 0;
    BOOL ownerEnabled = FALSE;
    ScriptedDialog outer(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
        ScriptedDialog inner(IDD_MISSING, &d, {});
        innerResult = inner.DoModal();
        ownerEnabled = ::IsWindowEnabled(d.m_hWnd);
        d.EndDialog(IDCANCEL);
    });
    outer.DoModal();
    EXPECT_EQ(innerResult, -1);
    EXPECT_TRUE(ownerEnabled);
}

TEST_F(DialogTest, OwnerIsTheParentOrTheMainWindowAndIsDisabledWhileTheDialogRuns)
{
    for (const bool asMainWindow : {true, false}) {
        SCOPED_TRACE(asMainWindow ? "no parent, owner is the main window" : "explicit parent");
        HWND outerOwner = reinterpret_cast<HWND>(1);
        HWND innerOwner = nullptr;
        BOOL ownerEnabledInside = TRUE;
        BOOL ownerEnabledAfter = FALSE;
        ScriptedDialog outer(IDD_PLAIN, nullptr, [&](ScriptedDialog& o) {
            outerOwner = ::GetWindow(o.m_hWnd, GW_OWNER);
            ScriptedDialog inner(IDD_PLAIN, asMainWindow ? nullptr : &o, [&](ScriptedDialog& i) {
                innerOwner = ::GetWindow(i.m_hWnd, GW_OWNER);
                ownerEnabledInside = ::IsWindowEnabled(o.m_hWnd);
                i.EndDialog(IDOK);
            });
            inner.DoModal();
            ownerEnabledAfter = ::IsWindowEnabled(o.m_hWnd);
            o.EndDialog(IDCANCEL);
        });
        HWND outerWindow = nullptr;
        {
            MainWindowScope main(asMainWindow ? &outer : nullptr);
            outer.DoModal();
            outerWindow = outer.m_hWnd;
        }
        EXPECT_EQ(outerOwner, nullptr) << "the main window must not own itself";
        EXPECT_NE(innerOwner, nullptr);
        EXPECT_FALSE(ownerEnabledInside);
        EXPECT_TRUE(ownerEnabledAfter);
        EXPECT_EQ(outerWindow, nullptr);
        if (asMainWindow) {
            EXPECT_EQ(TakeQuit(), 0) << "closing the main window posts WM_QUIT(0)";
        }
    }
}

TEST_F(DialogTest, OwnerIsActiveAgainWhenTheDialogCloses)
{
    HWND outerWindow = nullptr;
    HWND activeAfter = nullptr;
    ScriptedDialog outer(IDD_PLAIN, nullptr, [&](ScriptedDialog& o) {
        outerWindow = o.m_hWnd;
        ScriptedDialog inner(IDD_PLAIN, &o, [](ScriptedDialog& i) { i.EndDialog(IDOK); });
        inner.DoModal();
        activeAfter = ::GetActiveWindow();
        o.EndDialog(IDCANCEL);
    });
    outer.DoModal();
    EXPECT_EQ(activeAfter, outerWindow);
}

TEST_F(DialogTest, MainWindowReferenceIsClearedWithItsWindowAndQuitIsPosted)
{
    TestApp& app = TheTestApp();
    {
        ScriptedDialog dialog(IDD_VISIBLE, nullptr, [](ScriptedDialog& d) { Post(d.m_hWnd, WM_COMMAND, IDCANCEL); });
        app.m_pMainWnd = &dialog;
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(app.m_pMainWnd, nullptr) << "cleared inside DoModal, while the object still lives";
        EXPECT_EQ(TakeQuit(), 0);
    }
    {
        // The window never exists: the reference is cleared when the object goes.
        ScriptedDialog dialog(IDD_MISSING, nullptr, {});
        app.m_pMainWnd = &dialog;
        EXPECT_EQ(dialog.DoModal(), -1);
    }
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(TakeQuit(), -1) << "no window was destroyed, so nothing may be posted";
}

TEST_F(DialogTest, QuitEndsNestedModalLoopsAndIsPostedAgain)
{
    INT_PTR innerResult = 0;
    HWND innerWindow = nullptr;
    ScriptedDialog outer(IDD_PLAIN, nullptr, [&](ScriptedDialog& o) {
        ScriptedDialog inner(IDD_PLAIN, &o, [&](ScriptedDialog& i) {
            innerWindow = i.m_hWnd;
            ::PostQuitMessage(5);
        });
        innerResult = inner.DoModal();
    });
    EXPECT_EQ(outer.DoModal(), -1);
    EXPECT_EQ(innerResult, -1);
    EXPECT_FALSE(::IsWindow(innerWindow));
    EXPECT_EQ(TakeQuit(), 5) << "the quit code must reach the outermost loop unchanged";
}

class PreTranslateDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
            enterTargets.push_back(pMsg->hwnd);
            return consumeEnter;
        }
        return ScriptedDialog::PreTranslateMessage(pMsg);
    }
    bool consumeEnter = true;
    std::vector<HWND> enterTargets;
};

TEST_F(DialogTest, PreTranslateMessageSeesEnterBeforeTheDialogKeyboardHandling)
{
    // Without a default button, the dialog keyboard handling turns Enter into IDOK.
    for (const bool consume : {true, false}) {
        SCOPED_TRACE(consume ? "consumed" : "passed on");
        HWND field = nullptr;
        PreTranslateDialog dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
            field = d.GetDlgItem(IDC_SECOND);
            Post(field, WM_KEYDOWN, VK_RETURN, 1);
            Post(d.m_hWnd, WM_COMMAND, IDCANCEL);
        });
        dialog.consumeEnter = consume;
        EXPECT_EQ(dialog.DoModal(), consume ? IDCANCEL : IDOK);
        EXPECT_EQ(dialog.enterTargets, std::vector<HWND>{field});
    }
}

struct CentreCase {
    const char* name;
    UINT templateId;
    bool expectCentred;
};

TEST_F(DialogTest, WithoutOwnerATemplateWithoutCentringStyleIsCentredInTheWorkArea)
{
    const CentreCase cases[] = {
        {"extended template", IDD_PLAIN, true},
        {"plain template", IDD_PLAIN_OLD, true},
        {"visible template", IDD_VISIBLE, true},
        {"DS_ABSALIGN, extended", IDD_ABSALIGN, false},
        {"DS_ABSALIGN, plain", IDD_ABSALIGN_OLD, false},
    };
    for (const CentreCase& c : cases) {
        SCOPED_TRACE(c.name);
        RECT shown{};
        RECT atInit{};
        RECT area{};
        ScriptedDialog dialog(c.templateId, nullptr, [&](ScriptedDialog& d) {
            shown = WindowRect(d.m_hWnd);
            atInit = d.rectAtInit;
            area = WorkArea(d.m_hWnd);
            d.EndDialog(IDOK);
        });
        dialog.DoModal();
        if (c.expectCentred) {
            const POINT expected = CentredIn(shown, area, area);
            EXPECT_EQ(shown.left, expected.x);
            EXPECT_EQ(shown.top, expected.y);
        } else {
            EXPECT_EQ(shown.left, atInit.left);
            EXPECT_EQ(shown.top, atInit.top);
        }
    }
}

TEST_F(DialogTest, OwnedDialogIsCentredOnItsOwnerAndKeptInsideTheWorkArea)
{
    enum class Owner { Placed, AtWorkAreaCorner, Minimised };
    const struct {
        const char* name;
        Owner owner;
    } cases[] = {
        {"owner in the open", Owner::Placed},
        {"owner at the bottom right corner", Owner::AtWorkAreaCorner},
        {"owner minimised: work area", Owner::Minimised},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RECT shown{};
        RECT ownerRect{};
        RECT area{};
        bool ownerVisible = true;
        ScriptedDialog outer(IDD_PLAIN_OLD, nullptr, [&](ScriptedDialog& o) {
            area = WorkArea(o.m_hWnd);
            if (c.owner == Owner::Placed)
                ::SetWindowPos(o.m_hWnd, nullptr, area.left + 40, area.top + 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            if (c.owner == Owner::AtWorkAreaCorner)
                ::SetWindowPos(o.m_hWnd, nullptr, area.right - 60, area.bottom - 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            if (c.owner == Owner::Minimised)
                ::ShowWindow(o.m_hWnd, SW_MINIMIZE);
            ownerRect = WindowRect(o.m_hWnd);
            ownerVisible = c.owner != Owner::Minimised;
            ScriptedDialog inner(IDD_PLAIN, &o, [&](ScriptedDialog& i) {
                shown = WindowRect(i.m_hWnd);
                i.EndDialog(IDOK);
            });
            inner.DoModal();
            o.EndDialog(IDOK);
        });
        outer.DoModal();
        const POINT expected = CentredIn(shown, ownerVisible ? ownerRect : area, area);
        EXPECT_EQ(shown.left, expected.x);
        EXPECT_EQ(shown.top, expected.y);
        if (c.owner == Owner::AtWorkAreaCorner) {
            EXPECT_EQ(shown.right, area.right) << "pushed back inside";
            EXPECT_EQ(shown.bottom, area.bottom);
        }
    }
}

}  // namespace
