// Message maps: order and chaining to the base map, each bound message kind with its arguments and
// result, default handling from a handler, and CPaintDC.
#include "CPaintDC.h"
#include "TestResource.h"
#include "TestSupport.h"

namespace {

constexpr UINT kBaseOnlyCommand = 0x7E01;

class MapBase : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    std::vector<std::string> log;

protected:
    void OnButton() { log.push_back("base button"); }
    void OnBaseOnly() { log.push_back("base only"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MapBase, ScriptedDialog)
    ON_BN_CLICKED(IDC_BUTTON, OnButton)
    ON_BN_CLICKED(kBaseOnlyCommand, OnBaseOnly)
END_MESSAGE_MAP()

class MapDerived : public MapBase {
public:
    using MapBase::MapBase;
    std::vector<std::pair<UINT, LPARAM>> sysCommands;
    HELPINFO* helpSeen = nullptr;
    BOOL helpResult = FALSE;
    std::vector<std::pair<UINT, HWND>> colours;
    int paints = 0;
    BOOL iconDrawn = FALSE;
    bool dcValid = false;

protected:
    void OnSysCommand(UINT nID, LPARAM lParam)
    {
        sysCommands.emplace_back(nID, lParam);
        if ((nID & 0xFFF0) != 0x0010)
            MapBase::OnSysCommand(nID, lParam);
    }
    void OnPaint()
    {
        ++paints;
        CPaintDC dc(this);
        dcValid = dc.GetSafeHdc() != nullptr;
        iconDrawn = dc.DrawIcon(0, 0, ::LoadIconA(nullptr, IDI_APPLICATION));
    }
    HCURSOR OnQueryDragIcon() { return ::LoadCursorA(nullptr, IDC_CROSS); }
    BOOL OnHelpInfo(HELPINFO* pHelpInfo)
    {
        helpSeen = pHelpInfo;
        return helpResult;
    }
    HBRUSH OnCtlColor(HDC, HWND hWnd, UINT nCtlColor)
    {
        colours.emplace_back(nCtlColor, hWnd);
        return static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    }
    void OnDerivedButton() { log.push_back("derived button"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MapDerived, MapBase)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_HELPINFO()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_BUTTON, OnDerivedButton)
    ON_BN_CLICKED(IDC_BUTTON, OnButton)
END_MESSAGE_MAP()

// Names the base's colour handler, as a dialog with no colours of its own does.
class BaseColours : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseColours, ScriptedDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// Counts the help requests that reach it, to see whether an owned dialog passes them on.
class HelpCounter : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    int helps = 0;

protected:
    BOOL OnHelpInfo(HELPINFO*)
    {
        ++helps;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpCounter, ScriptedDialog)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

LRESULT Send(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageA(hWnd, message, wParam, lParam);
}

class MessageMapTest : public WinlibTest {};

TEST_F(MessageMapTest, EntriesAreCheckedInOrderThenTheBaseMapThenDefaultHandling)
{
    MapDerived dialog(IDD_PLAIN, nullptr, [](ScriptedDialog& d) {
        Send(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_CLICKED));
        Send(d.m_hWnd, WM_COMMAND, MAKEWPARAM(kBaseOnlyCommand, BN_CLICKED));
        Send(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_SETFOCUS));  // no entry takes it
        // IDOK is bound in CDialog's own map, two levels up.
        Send(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"derived button", "base only"}));
}

TEST_F(MessageMapTest, SysCommandReachesItsHandlerAndDefaultHandlingFromThere)
{
    MapDerived dialog(IDD_PLAIN, nullptr, [](ScriptedDialog& d) {
        Send(d.m_hWnd, WM_SYSCOMMAND, 0x0013, 0x00050006);
        // Passed on to default handling, SC_CLOSE closes the dialog as the close button does.
        ::PostMessageA(d.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(dialog.sysCommands.size(), 2u);
    EXPECT_EQ(dialog.sysCommands[0], std::make_pair(UINT{0x0013}, LPARAM{0x00050006}));
    EXPECT_EQ(dialog.sysCommands[1].first, UINT{SC_CLOSE});
}

TEST_F(MessageMapTest, HandlerResultsBecomeTheMessageResults)
{
    LRESULT dragIcon = 0;
    LRESULT helpTrue = 0, helpFalse = 1;
    HELPINFO info{};
    info.cbSize = sizeof info;
    std::vector<std::pair<UINT, LRESULT>> colourResults;
    std::vector<std::pair<UINT, HWND>> colourCalls;
    HWND field = nullptr;
    MapDerived dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
        auto& m = static_cast<MapDerived&>(d);
        dragIcon = Send(m.m_hWnd, WM_QUERYDRAGICON);
        m.helpResult = TRUE;
        helpTrue = Send(m.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        m.helpResult = FALSE;
        helpFalse = Send(m.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        field = m.GetDlgItem(IDC_FIRST);
        HDC dc = ::GetDC(m.m_hWnd);
        m.colours.clear();  // the controls ask for their colours as they paint
        for (UINT message = WM_CTLCOLORMSGBOX; message <= WM_CTLCOLORSTATIC; ++message)
            colourResults.emplace_back(message, Send(m.m_hWnd, message, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(field)));
        ::ReleaseDC(m.m_hWnd, dc);
        colourCalls = m.colours;
        m.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(dragIcon, reinterpret_cast<LRESULT>(::LoadCursorA(nullptr, IDC_CROSS)));
    EXPECT_EQ(helpTrue, TRUE);
    EXPECT_EQ(helpFalse, FALSE);
    EXPECT_EQ(dialog.helpSeen, &info);
    ASSERT_EQ(colourResults.size(), 7u);
    ASSERT_EQ(colourCalls.size(), 7u);
    const UINT codes[] = {CTLCOLOR_MSGBOX, CTLCOLOR_EDIT, CTLCOLOR_LISTBOX, CTLCOLOR_BTN,
                          CTLCOLOR_DLG, CTLCOLOR_SCROLLBAR, CTLCOLOR_STATIC};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(colourCalls[i], std::make_pair(codes[i], field));
        EXPECT_EQ(colourResults[i].second, reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH)));
    }
}

TEST_F(MessageMapTest, BaseColourHandlerAnswersAsDefaultHandlingDoes)
{
    std::vector<std::pair<LRESULT, LRESULT>> results;
    BaseColours dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
        HDC dc = ::GetDC(d.m_hWnd);
        HWND field = d.GetDlgItem(IDC_FIRST);
        for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN})
            results.emplace_back(Send(d.m_hWnd, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(field)),
                                 ::DefWindowProcA(d.m_hWnd, message, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(field)));
        ::ReleaseDC(d.m_hWnd, dc);
        d.EndDialog(IDOK);
    });
    dialog.DoModal();
    ASSERT_EQ(results.size(), 4u);
    for (const auto& [mapped, byDefault] : results) {
        EXPECT_NE(mapped, 0);
        EXPECT_EQ(mapped, byDefault);
    }
}

TEST_F(MessageMapTest, HandledHelpRequestDoesNotReachTheOwner)
{
    // Default handling passes WM_HELP on to the owner; a bound handler must end it there.
    for (const bool bound : {true, false}) {
        SCOPED_TRACE(bound ? "owned dialog binds WM_HELP" : "owned dialog leaves it to default handling");
        HelpCounter owner(IDD_PLAIN, nullptr, [&](ScriptedDialog& o) {
            HELPINFO info{};
            info.cbSize = sizeof info;
            auto sendHelp = [&](ScriptedDialog& i) {
                Send(i.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
                i.EndDialog(IDOK);
            };
            if (bound) {
                MapDerived inner(IDD_PLAIN, &o, sendHelp);
                inner.DoModal();
            } else {
                ScriptedDialog inner(IDD_PLAIN, &o, sendHelp);
                inner.DoModal();
            }
            o.EndDialog(IDOK);
        });
        owner.DoModal();
        EXPECT_EQ(owner.helps, bound ? 0 : 1);
    }
}

TEST_F(MessageMapTest, PaintHandlerPaintsThroughCPaintDCAndValidates)
{
    BOOL stillInvalid = TRUE;
    MapDerived dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
        auto& m = static_cast<MapDerived&>(d);
        m.paints = 0;
        ::InvalidateRect(m.m_hWnd, nullptr, TRUE);
        ::UpdateWindow(m.m_hWnd);
        stillInvalid = ::GetUpdateRect(m.m_hWnd, nullptr, FALSE);
        m.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.paints, 1);
    EXPECT_TRUE(dialog.dcValid);
    EXPECT_TRUE(dialog.iconDrawn);
    EXPECT_FALSE(stillInvalid) << "EndPaint must validate the window";
}

}  // namespace
