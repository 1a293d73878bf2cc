// The real program's window around the lookup: how it opens, the About box by F1
// and by the system menu, the ways it closes, the application's name and the shipped skin.
#include "TessaronRun.h"

#include "DialogTexts.h"
#include "SkinFile.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace apptest {
namespace {

const char kAboutCaption[] = "\xB9\xD8\xD3\xDA Tessaron";  // 关于 Tessaron
const char kOkText[] = "\xC8\xB7\xB6\xA8";                  // 确定
const char kGroupText[] = "\xC7\xEB\xCA\xE4\xC8\xEB\xCA\xD6\xBB\xFA\xBA\xC5\xC2\xEB";  // 请输入手机号码

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST(OpenDialog, EmptyFieldsFocusInNumberFieldCentredInTheWorkArea)
{
    TessaronRun run;
    ASSERT_TRUE(run.Dialog());
    EXPECT_EQ(Text(run.Dialog()).rfind(kLookupCaption, 0), 0u) << "caption: " << Text(run.Dialog());
    for (int id : {IDC_MOBILE, IDC_PROVINCE, IDC_CITY, IDC_TYPE, IDC_AREACODE, IDC_POSTCODE})
        EXPECT_EQ(Text(run.Item(id)), "") << "field " << id;
    EXPECT_EQ(run.SettledFocus(run.Item(IDC_MOBILE)), run.Item(IDC_MOBILE));
    EXPECT_TRUE(::IsWindowEnabled(run.Item(IDC_QUERY)));
    EXPECT_EQ(::SendMessageA(run.Item(IDC_MOBILE), EM_GETLIMITTEXT, 0, 0), 11);

    RECT workArea{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const POINT dialogCentre = Centre(WindowRect(run.Dialog()));
    EXPECT_LE(std::abs(dialogCentre.x - Centre(workArea).x), 1);
    EXPECT_LE(std::abs(dialogCentre.y - Centre(workArea).y), 1);
}

TEST(OpenDialog, OkCommandNeitherClosesNorQueries)
{
    TessaronRun run;
    ASSERT_TRUE(run.Dialog());
    run.Type("1");  // a lookup now would answer with a box
    ::PostMessageA(run.Dialog(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(run.Sync());
    EXPECT_FALSE(run.OwnedWindow(run.Dialog()));
    EXPECT_FALSE(run.WaitForExit(0));
    EXPECT_TRUE(::IsWindowVisible(run.Dialog()));
}

// Ways into the About box, each from where the focus is at the time.
enum class AboutBy { F1, SystemCommand, SystemCommandLowBitsSet };

struct AboutCase {
    const char* name;
    AboutBy by;
    int focus;      // the control holding the focus first
    WORD closeKey;  // how the user then leaves the box
};

std::ostream& operator<<(std::ostream& out, const AboutCase& c) { return out << c.name; }

class AboutCases : public ::testing::TestWithParam<AboutCase> {};

TEST_P(AboutCases, OpenCentredOnTheDialogWithFocusOnOkAndLeaveItAsItWas)
{
    const AboutCase& c = GetParam();
    TessaronRun run;
    ASSERT_TRUE(run.Dialog());
    run.Type("138");  // a refused number: any lookup the box let through would show its message
    ASSERT_TRUE(run.FocusItem(c.focus));

    switch (c.by) {
    case AboutBy::F1:
        // Only real input becomes a help request; a posted F1 key-down does nothing.
        ASSERT_TRUE(run.PressKeys({VK_F1}));
        break;
    case AboutBy::SystemCommand:
        // Posted: Alt+Space, A would meet Wine's own "About Wine" item under the same key.
        ::PostMessageA(run.Dialog(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        break;
    case AboutBy::SystemCommandLowBitsSet:
        ::PostMessageA(run.Dialog(), WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
        break;
    }
    const OwnedDialog about = run.WaitForOwnedDialog(run.Dialog());
    ASSERT_TRUE(about.hWnd) << "no About box";
    EXPECT_EQ(about.caption, kAboutCaption);
    EXPECT_EQ(about.buttonIds, std::vector<int>{IDOK});
    EXPECT_TRUE(about.hasIcon);
    EXPECT_FALSE(::IsWindowEnabled(run.Dialog()));
    const POINT aboutCentre = Centre(WindowRect(about.hWnd));
    const POINT dialogCentre = Centre(WindowRect(run.Dialog()));
    EXPECT_LE(std::abs(aboutCentre.x - dialogCentre.x), 1);
    EXPECT_LE(std::abs(aboutCentre.y - dialogCentre.y), 1);
    EXPECT_EQ(run.SettledFocus(::GetDlgItem(about.hWnd, IDOK)), ::GetDlgItem(about.hWnd, IDOK));
    EXPECT_EQ(Text(::GetDlgItem(about.hWnd, IDOK)), kOkText);

    // F1 inside the box goes nowhere: no second box, from the box or from the dialog behind it.
    ASSERT_TRUE(run.PressKeys({VK_F1}, 0, about.hWnd));
    ASSERT_TRUE(run.Sync());
    EXPECT_FALSE(run.OwnedWindow(about.hWnd));
    int dialogs = 0;
    for (HWND window : run.TopLevelWindows())
        dialogs += ClassName(window) == "#32770";
    EXPECT_EQ(dialogs, 2);

    ASSERT_TRUE(run.PressKeys({c.closeKey}, 0, about.hWnd));
    ASSERT_TRUE(run.WaitUntilGone(about.hWnd));
    ASSERT_TRUE(run.Sync());
    // Enter was the box's: no lookup ran behind it.
    EXPECT_FALSE(run.OwnedWindow(run.Dialog()));
    EXPECT_TRUE(::IsWindowEnabled(run.Dialog()));
    EXPECT_TRUE(Eventually([&run] { return ::GetForegroundWindow() == run.Dialog(); })) << "not active again";
    EXPECT_EQ(Text(run.Item(IDC_MOBILE)), "138");
    EXPECT_FALSE(run.WaitForExit(0));
}

INSTANTIATE_TEST_SUITE_P(
    About, AboutCases,
    ::testing::Values(AboutCase{"F1InNumberField", AboutBy::F1, IDC_MOBILE, VK_RETURN},
                      AboutCase{"F1InResultField", AboutBy::F1, IDC_CITY, VK_ESCAPE},
                      AboutCase{"F1OnQueryButton", AboutBy::F1, IDC_QUERY, VK_SPACE},
                      AboutCase{"SystemMenuItem", AboutBy::SystemCommand, IDC_MOBILE, VK_RETURN},
                      AboutCase{"SystemMenuItemLowBits", AboutBy::SystemCommandLowBitsSet, IDC_TYPE, VK_ESCAPE}),
    [](const auto& info) { return std::string(info.param.name); });

enum class CloseBy { EscPosted, EscKey, AltF4, CloseCommand, CloseMessage };

struct CloseCase {
    const char* name;
    CloseBy by;
    int focus;
};

std::ostream& operator<<(std::ostream& out, const CloseCase& c) { return out << c.name; }

class CloseCases : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseCases, EndTheProgramAndLeaveNoWindow)
{
    const CloseCase& c = GetParam();
    TessaronRun run;
    ASSERT_TRUE(run.Dialog());
    run.Type("13800001234");
    ASSERT_TRUE(run.FocusItem(c.focus));
    switch (c.by) {
    case CloseBy::EscPosted:
        run.PostKeyDown(run.Item(c.focus), VK_ESCAPE);
        break;
    case CloseBy::EscKey:
        ASSERT_TRUE(run.PressKeys({VK_ESCAPE}));
        break;
    case CloseBy::AltF4:
        ASSERT_TRUE(run.PressKeys({VK_F4}, VK_MENU));
        break;
    case CloseBy::CloseCommand:  // the close button and the system menu's Close
        ::PostMessageA(run.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case CloseBy::CloseMessage:
        ::PostMessageA(run.Dialog(), WM_CLOSE, 0, 0);
        break;
    }
    EXPECT_TRUE(run.WaitForExit()) << "the program is still running";
    EXPECT_TRUE(run.TopLevelWindows().empty());
}

INSTANTIATE_TEST_SUITE_P(Close, CloseCases,
                         ::testing::Values(CloseCase{"EscPostedToNumberField", CloseBy::EscPosted, IDC_MOBILE},
                                           CloseCase{"EscKeyInResultField", CloseBy::EscKey, IDC_POSTCODE},
                                           CloseCase{"AltF4", CloseBy::AltF4, IDC_QUERY},
                                           CloseCase{"CloseCommand", CloseBy::CloseCommand, IDC_MOBILE},
                                           CloseCase{"CloseMessage", CloseBy::CloseMessage, IDC_MOBILE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AppName, RenamedCopyCaptionsTheNotFoundBoxWithItsOwnName)
{
    TessaronRun run({DataFile::Real, "Lookup2.exe"});
    ASSERT_TRUE(run.Dialog());
    run.Type("15400001234");
    run.PostKeyDown(run.Item(IDC_MOBILE), VK_RETURN);
    const OwnedDialog box = run.WaitForOwnedDialog(run.Dialog());
    ASSERT_TRUE(box.hWnd);
    EXPECT_EQ(box.text, kNotFoundText);
    EXPECT_EQ(box.caption, "Lookup2");
}

// The colours the shipped skin file names, read the way the skin library reads them.
skin::SkinSettings ShippedSkin()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path);
    file = file.substr(0, file.find_last_of('\\') + 1) + "..\\dist\\GtBase.urf";
    const std::optional<skin::SkinSettings> settings = skin::ParseSkin(testfiles::ReadBytes(file));
    return settings ? *settings : skin::SkinSettings{};
}

unsigned Rgb(const std::optional<skin::Color>& c)
{
    return c ? (unsigned{c->r} << 16) | (unsigned{c->g} << 8) | c->b : 0xFFFFFFFFu;
}

unsigned SysColour(int index)
{
    const COLORREF c = ::GetSysColor(index);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// A point of a child control in the dialog's client coordinates, dx/dy from its left/top
// (negative: from its right/bottom).
POINT InControl(HWND dialog, HWND control, int dx, int dy)
{
    RECT r = WindowRect(control);
    POINT p{dx >= 0 ? r.left + dx : r.right + dx, dy >= 0 ? r.top + dy : r.bottom + dy};
    ::ScreenToClient(dialog, &p);
    return p;
}

HWND GroupBox(HWND dialog)
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (Text(child) == kGroupText)
            return child;
    return nullptr;
}

// Mid-points of solid areas; the edits are empty and the button text sits in its middle.
struct Samples {
    unsigned background, groupFrame, buttonFace, edit, readOnlyEdit;
};

Samples Sample(const TessaronRun& run)
{
    HWND dialog = run.Dialog();
    RECT client{};
    ::GetClientRect(dialog, &client);
    HWND group = GroupBox(dialog);
    const RECT groupRect = WindowRect(group);
    const int groupMiddle = (groupRect.bottom - groupRect.top) / 2;
    return {
        ScreenColour(dialog, {4, client.bottom / 2}),  // left margin, outside the group box
        ScreenColour(dialog, InControl(dialog, group, 0, groupMiddle)),
        ScreenColour(dialog, InControl(dialog, run.Item(IDC_QUERY), 4, 5)),
        ScreenColour(dialog, InControl(dialog, run.Item(IDC_MOBILE), -8, 6)),
        ScreenColour(dialog, InControl(dialog, run.Item(IDC_CITY), -8, 6)),
    };
}

TEST(Look, StartedInItsFolderTheDialogShowsTheShippedSkin)
{
    const skin::SkinSettings skin = ShippedSkin();
    ASSERT_TRUE(skin.dialogBackground && skin.groupFrame && skin.button.face && skin.editBackground &&
                skin.readOnlyBackground)
        << "the shipped skin names every colour sampled here";
    TessaronRun run;
    ASSERT_TRUE(run.Dialog());
    ASSERT_TRUE(run.Sync());  // painted
    const Samples seen = Sample(run);
    EXPECT_EQ(seen.background, Rgb(skin.dialogBackground));
    EXPECT_EQ(seen.groupFrame, Rgb(skin.groupFrame));
    EXPECT_EQ(seen.buttonFace, Rgb(skin.button.face));
    EXPECT_EQ(seen.edit, Rgb(skin.editBackground));
    EXPECT_EQ(seen.readOnlyEdit, Rgb(skin.readOnlyBackground));
}

TEST(Look, WithoutTheSkinFileTheDialogIsPlainAndWorks)
{
    TessaronRun run({DataFile::Real, "Tessaron.exe", false});
    ASSERT_TRUE(run.Dialog()) << "no dialog without GtBase.urf";
    ASSERT_TRUE(run.Sync());
    const Samples seen = Sample(run);
    EXPECT_EQ(seen.background, SysColour(COLOR_3DFACE));
    EXPECT_EQ(seen.edit, SysColour(COLOR_WINDOW));
    EXPECT_NE(seen.background, Rgb(ShippedSkin().dialogBackground));

    run.Type("13800001234");
    run.PostKeyDown(run.Item(IDC_MOBILE), VK_RETURN);
    ASSERT_TRUE(run.Sync());
    EXPECT_EQ(Text(run.Item(IDC_POSTCODE)), "100000");
}

}  // namespace
}  // namespace apptest
