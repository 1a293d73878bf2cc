// Data exchange: DDX_Control, DDX_Text both ways, DDV_MaxChars and its failure path, OnOK's read.
#include "CButton.h"
#include "CEdit.h"
#include "TestResource.h"
#include "TestSupport.h"

namespace {

// 请填入不多于11个的字符。
constexpr char kPromptFor11[] = "\xC7\xEB\xCC\xEE\xC8\xEB\xB2\xBB\xB6\xE0\xD3\xDA" "11" "\xB8\xF6\xB5\xC4\xD7\xD6\xB7\xFB\xA1\xA3";
// 广东深圳 repeated: longer than any fixed buffer a reader might use.
const std::string kLongGbk = [] {
    std::string text;
    for (int i = 0; i < 150; ++i)
        text += "\xB9\xE3\xB6\xAB\xC9\xEE\xDB\xDA";
    return text;
}();

class ExchangeDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;

    CEdit m_editFirst;
    CButton m_button;
    CString m_first;
    CString m_second;
    CString m_third;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        ScriptedDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_FIRST, m_editFirst);
        DDX_Control(pDX, IDC_BUTTON, m_button);
        DDX_Text(pDX, IDC_FIRST, m_first);
        DDV_MaxChars(pDX, m_first, 11);
        DDX_Text(pDX, IDC_SECOND, m_second);
        DDX_Text(pDX, IDC_THIRD, m_third);
    }
};

LRESULT Limit(HWND edit) { return ::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0); }

std::pair<DWORD, DWORD> Selection(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// Counts WM_SETTEXT reaching one control; the original procedure is put back on destruction.
class SetTextCounter {
public:
    explicit SetTextCounter(HWND control) : m_control(control)
    {
        s_counter = this;
        m_original = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    SetTextCounter(const SetTextCounter&) = delete;
    SetTextCounter& operator=(const SetTextCounter&) = delete;
    ~SetTextCounter()
    {
        ::SetWindowLongPtrA(m_control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
        s_counter = nullptr;
    }
    int count = 0;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_SETTEXT)
            ++s_counter->count;
        return ::CallWindowProcA(s_counter->m_original, hWnd, message, wParam, lParam);
    }
    static inline SetTextCounter* s_counter = nullptr;
    HWND m_control;
    WNDPROC m_original = nullptr;
};

class DataExchangeTest : public WinlibTest {};

TEST_F(DataExchangeTest, FirstFillWritesMembersAttachesControlsAndSetsTheLimit)
{
    std::string first, second;
    LRESULT limit = 0;
    bool editAttached = false, buttonAttached = false;
    ExchangeDialog dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
        auto& x = static_cast<ExchangeDialog&>(d);
        first = WindowText(x.GetDlgItem(IDC_FIRST));
        second = WindowText(x.GetDlgItem(IDC_SECOND));
        limit = Limit(x.GetDlgItem(IDC_FIRST));
        editAttached = x.m_editFirst.m_hWnd == x.GetDlgItem(IDC_FIRST);
        buttonAttached = x.m_button.m_hWnd == x.GetDlgItem(IDC_BUTTON);
        x.EndDialog(IDOK);
    });
    dialog.m_first = "13800138000";
    dialog.m_second = kLongGbk;
    dialog.DoModal();
    EXPECT_EQ(first, "13800138000");
    EXPECT_EQ(second, kLongGbk);
    EXPECT_EQ(limit, 11);
    EXPECT_TRUE(editAttached);
    EXPECT_TRUE(buttonAttached);
}

TEST_F(DataExchangeTest, ReadTakesEachControlsWholeTextByteForByte)
{
    BOOL ok = FALSE;
    ExchangeDialog dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
        ::SetDlgItemTextA(d.m_hWnd, IDC_FIRST, "1390000");
        ::SetDlgItemTextA(d.m_hWnd, IDC_SECOND, kLongGbk.c_str());
        ::SetDlgItemTextA(d.m_hWnd, IDC_THIRD, "");
        ok = d.UpdateData(TRUE);
        d.EndDialog(IDOK);
    });
    dialog.m_third = "stale";
    dialog.DoModal();
    EXPECT_TRUE(ok);
    EXPECT_EQ(dialog.m_first, "1390000");
    EXPECT_EQ(dialog.m_second.str(), kLongGbk);
    EXPECT_TRUE(dialog.m_third.IsEmpty());
}

TEST_F(DataExchangeTest, WriteChangesOnlyFieldsWhoseTextDiffers)
{
    int setTextUnchanged = -1, setTextChanged = -1;
    std::pair<DWORD, DWORD> selection;
    std::string second;
    ExchangeDialog dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
        auto& x = static_cast<ExchangeDialog&>(d);
        HWND field = x.GetDlgItem(IDC_FIRST);
        ::SetWindowTextA(field, "13912345678");
        ::SetFocus(field);
        ::SendMessageA(field, EM_SETSEL, 3, 7);
        x.m_first = "13912345678";
        x.m_second = "new text";
        {
            SetTextCounter counter(field);
            x.UpdateData(FALSE);
            setTextUnchanged = counter.count;
        }
        selection = Selection(field);
        second = WindowText(x.GetDlgItem(IDC_SECOND));
        {
            SetTextCounter counter(field);
            x.m_first = "139";
            x.UpdateData(FALSE);
            setTextChanged = counter.count;
        }
        x.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(setTextUnchanged, 0);
    EXPECT_EQ(selection, std::make_pair(DWORD{3}, DWORD{7})) << "an unchanged field keeps its selection";
    EXPECT_EQ(second, "new text");
    EXPECT_EQ(setTextChanged, 1);
}

TEST_F(DataExchangeTest, ControlIsAttachedOncePerWindowAndAgainForTheNextRun)
{
    std::vector<HWND> attached;
    std::vector<HWND> controls;
    ExchangeDialog dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
        auto& x = static_cast<ExchangeDialog&>(d);
        x.UpdateData(TRUE);
        attached.push_back(x.m_editFirst.m_hWnd);
        controls.push_back(x.GetDlgItem(IDC_FIRST));
        x.EndDialog(IDOK);
    });
    dialog.DoModal();
    dialog.DoModal();
    ASSERT_EQ(attached.size(), 2u);
    ASSERT_NE(controls[0], controls[1]) << "handles reused: the second run proves nothing";
    EXPECT_EQ(attached[0], controls[0]);
    EXPECT_EQ(attached[1], controls[1]) << "still bound to the destroyed window's control";
}

TEST_F(DataExchangeTest, ReadWithinTheLimitPassesAndSetsTheLimit)
{
    BOOL ok = FALSE;
    LRESULT limit = 0;
    ExchangeDialog dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
        HWND field = d.GetDlgItem(IDC_FIRST);
        ::SendMessageA(field, EM_LIMITTEXT, 50, 0);
        ::SetWindowTextA(field, "13800138000");
        ok = d.UpdateData(TRUE);
        limit = Limit(field);
        d.EndDialog(IDOK);
    });
    MessageBoxCatcher catcher;
    dialog.DoModal();
    EXPECT_TRUE(ok);
    EXPECT_EQ(limit, 11);
    EXPECT_TRUE(catcher.boxes().empty());
}

TEST_F(DataExchangeTest, ReadOverTheLimitTellsTheUserSelectsTheFieldAndStopsReading)
{
    BOOL ok = TRUE;
    HWND dialogWindow = nullptr, field = nullptr, focus = nullptr;
    std::pair<DWORD, DWORD> selection;
    ExchangeDialog dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
        dialogWindow = d.m_hWnd;
        field = d.GetDlgItem(IDC_FIRST);
        ::SendMessageA(field, EM_LIMITTEXT, 50, 0);
        ::SetWindowTextA(field, "138001380001");
        ::SetDlgItemTextA(d.m_hWnd, IDC_SECOND, "typed");
        ::SetDlgItemTextA(d.m_hWnd, IDC_THIRD, "typed");
        // The focus starts elsewhere: Wine would put it back where it was after the box.
        ::SetFocus(d.GetDlgItem(IDC_BUTTON));
        ok = d.UpdateData(TRUE);
        focus = ::GetFocus();
        selection = Selection(field);
        d.EndDialog(IDOK);
    });
    dialog.m_second = "kept";
    dialog.m_third = "kept";
    MessageBoxCatcher catcher;
    dialog.DoModal();

    EXPECT_FALSE(ok);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    const SeenMessageBox& box = catcher.boxes()[0];
    EXPECT_EQ(box.text, kPromptFor11);
    EXPECT_EQ(box.caption, "winlib_tests") << "the application's name";
    EXPECT_EQ(box.owner, dialogWindow);
    EXPECT_EQ(box.icon, ::LoadIconA(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(focus, field);
    EXPECT_EQ(selection, std::make_pair(DWORD{0}, DWORD{12}));
    EXPECT_EQ(dialog.m_first, "138001380001") << "the field itself was read before the check";
    EXPECT_EQ(dialog.m_second, "kept") << "fields after the failing check are not read";
    EXPECT_EQ(dialog.m_third, "kept");
}

TEST_F(DataExchangeTest, OkEndsTheDialogOnlyWhenTheReadSucceeds)
{
    for (const bool tooLong : {true, false}) {
        SCOPED_TRACE(tooLong ? "read fails" : "read passes");
        ExchangeDialog dialog(IDD_PLAIN, nullptr, [&](ScriptedDialog& d) {
            ::SetDlgItemTextA(d.m_hWnd, IDC_FIRST, tooLong ? "138001380001" : "1380013");
            ::SetDlgItemTextA(d.m_hWnd, IDC_THIRD, "read");
            ::PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
            ::PostMessageA(d.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        });
        MessageBoxCatcher catcher;
        EXPECT_EQ(dialog.DoModal(), tooLong ? IDCANCEL : IDOK);
        EXPECT_EQ(catcher.boxes().size(), tooLong ? 1u : 0u);
        EXPECT_EQ(dialog.m_third, tooLong ? "" : "read");
    }
}

}  // namespace
