// The lookup as the user meets it in the real program: typed numbers, Enter and clicks, the
// five fields, the three message boxes, the query button and the focus around them.
#include "TessaronRun.h"

#include "DialogTexts.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <array>

namespace apptest {
namespace {

using Fields = std::array<std::string, 5>;  // province, city, type, area code, postal code
constexpr std::array<int, 5> kFieldIds = {IDC_PROVINCE, IDC_CITY, IDC_TYPE, IDC_AREACODE, IDC_POSTCODE};

// What an earlier lookup left in the fields; outcomes that write nothing must keep it.
const Fields kEarlier = {"earlier-p", "earlier-c", "earlier-t", "earlier-a", "earlier-z"};

// 北京 北京 中国移动 010 100000, from the shipped data.
const Fields kBeijingMobile = {"\xB1\xB1\xBE\xA9", "\xB1\xB1\xBE\xA9", "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "010",
                               "100000"};
// 江苏 常州 中国移动 0519 213000, from the fixture.
const Fields kChangzhou = {"\xBD\xAD\xCB\xD5", "\xB3\xA3\xD6\xDD", "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF", "0519",
                           "213000"};
// 北京 北京 中国联通, no area code (NULL in the fixture), 100000.
const Fields kNoAreaCode = {"\xB1\xB1\xBE\xA9", "\xB1\xB1\xBE\xA9", "\xD6\xD0\xB9\xFA\xC1\xAA\xCD\xA8", "",
                            "100000"};

enum class Trigger {
    EnterInNumber,    // posted Enter, focus in the number field
    EnterInResult,    // posted Enter to the province field, which has the focus
    EnterOnButton,    // posted Enter to the query button, which has the focus
    Click,            // the query button clicked
    RealEnterKey,     // Enter from the keyboard, focus in the number field
};

enum class Outcome { Found, BadNumber, NoDatabase, NotFound };

struct LookupCase {
    const char* name;
    DataFile data;
    const char* typed;   // characters sent to the number field
    const char* shown;   // what the number field then holds, and keeps
    Trigger trigger;
    Outcome outcome;
    Fields found;        // Found only
    bool skin = true;    // false: started without GtBase.urf
};

std::ostream& operator<<(std::ostream& out, const LookupCase& c) { return out << c.name; }

void SetFields(const TessaronRun& run, const Fields& texts)
{
    for (size_t i = 0; i < kFieldIds.size(); ++i) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(run.Item(kFieldIds[i]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(texts[i].c_str()),
                              SMTO_ABORTIFHUNG, 5000, &ignored);
    }
}

Fields ReadFields(const TessaronRun& run)
{
    Fields texts;
    for (size_t i = 0; i < kFieldIds.size(); ++i)
        texts[i] = Text(run.Item(kFieldIds[i]));
    return texts;
}

void StartLookup(const TessaronRun& run, Trigger how)
{
    switch (how) {
    case Trigger::EnterInNumber:
        run.PostKeyDown(run.Item(IDC_MOBILE), VK_RETURN);
        break;
    case Trigger::EnterInResult:
        ASSERT_TRUE(run.FocusItem(IDC_PROVINCE));
        run.PostKeyDown(run.Item(IDC_PROVINCE), VK_RETURN);
        break;
    case Trigger::EnterOnButton:
        ASSERT_TRUE(run.FocusItem(IDC_QUERY));
        run.PostKeyDown(run.Item(IDC_QUERY), VK_RETURN);
        break;
    case Trigger::Click:
        run.Click(IDC_QUERY);
        break;
    case Trigger::RealEnterKey:
        ASSERT_TRUE(run.Sync());  // the typed digits are in before the key comes
        ASSERT_TRUE(run.PressKeys({VK_RETURN}));
        break;
    }
}

class LookupCases : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupCases, ShowTheOutcomeAndComeBackIdle)
{
    const LookupCase& c = GetParam();
    TessaronRun run({c.data, "Tessaron.exe", c.skin});
    ASSERT_TRUE(run.Dialog()) << "the lookup dialog did not open";
    SetFields(run, kEarlier);

    run.Type(c.typed);
    StartLookup(run, c.trigger);
    if (HasFatalFailure())
        return;

    if (c.outcome != Outcome::Found) {
        const OwnedDialog box = run.WaitForOwnedDialog(run.Dialog());
        ASSERT_TRUE(box.hWnd) << "no message box";
        switch (c.outcome) {
        case Outcome::BadNumber:
            EXPECT_EQ(box.text, kBadNumberText);
            EXPECT_EQ(box.caption, kLookupCaption);
            break;
        case Outcome::NoDatabase:
            EXPECT_EQ(box.text, kNoDatabaseText);
            EXPECT_EQ(box.caption, kLookupCaption);
            break;
        default:
            EXPECT_EQ(box.text, kNotFoundText);
            EXPECT_EQ(box.caption, "Tessaron");  // the application's name
            break;
        }
        // MB_OK alone: one OK button, no icon.
        EXPECT_EQ(box.buttonIds, std::vector<int>{IDOK});
        EXPECT_FALSE(box.hasIcon);
        EXPECT_FALSE(::IsWindowEnabled(run.Dialog())) << "the box is modal to the dialog";
        // A refused number re-enables the button before its box; the other two show their box
        // with the lookup still under way.
        EXPECT_EQ(::IsWindowEnabled(run.Item(IDC_QUERY)) != FALSE, c.outcome == Outcome::BadNumber);

        ::PostMessageA(box.hWnd, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(run.WaitUntilGone(box.hWnd));
    }
    ASSERT_TRUE(run.Sync());

    EXPECT_TRUE(::IsWindowEnabled(run.Item(IDC_QUERY)));
    EXPECT_TRUE(::IsWindowEnabled(run.Dialog()));
    EXPECT_EQ(Text(run.Item(IDC_MOBILE)), c.shown);
    EXPECT_EQ(ReadFields(run), c.outcome == Outcome::Found ? c.found : kEarlier);
    // One key-down or click, one lookup: no second box follows.
    EXPECT_FALSE(run.OwnedWindow(run.Dialog())) << "a second box";
    if (c.outcome == Outcome::BadNumber) {
        // The focus was on the province field or the button when the box opened, and Wine gives it
        // back there when the box closes; only the program's own SetFocus puts it in the number field.
        EXPECT_EQ(run.SettledFocus(run.Item(IDC_MOBILE)), run.Item(IDC_MOBILE));
    }
    if (c.data == DataFile::Missing) {
        EXPECT_FALSE(std::filesystem::exists(run.Folder() / "mobile.dat")) << "the lookup made a data file";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, LookupCases,
    ::testing::Values(
        LookupCase{"FoundByEnter", DataFile::Real, "13800001234", "13800001234", Trigger::EnterInNumber,
                   Outcome::Found, kBeijingMobile},
        LookupCase{"FoundByClickSevenDigits", DataFile::Real, "1380000", "1380000", Trigger::Click, Outcome::Found,
                   kBeijingMobile},
        LookupCase{"FoundByEnterInResultField", DataFile::Fixture, "13905190000", "13905190000",
                   Trigger::EnterInResult, Outcome::Found, kChangzhou},
        LookupCase{"FoundByRealEnterKey", DataFile::Real, "13800001234", "13800001234", Trigger::RealEnterKey,
                   Outcome::Found, kBeijingMobile},
        LookupCase{"NullValueEmptiesItsField", DataFile::Fixture, "13500001111", "13500001111",
                   Trigger::EnterInNumber, Outcome::Found, kNoAreaCode},
        LookupCase{"LettersRefusedByTheField", DataFile::Fixture, "13a9-0519", "1390519", Trigger::EnterInNumber,
                   Outcome::Found, kChangzhou},
        LookupCase{"TwelfthDigitRefused", DataFile::Fixture, "139051912345", "13905191234", Trigger::EnterInNumber,
                   Outcome::Found, kChangzhou},
        LookupCase{"WriteProtectedFileWorks", DataFile::WriteProtected, "13800001234", "13800001234",
                   Trigger::EnterInNumber, Outcome::Found, kBeijingMobile},
        LookupCase{"SixDigitsRefusedEnterInResultField", DataFile::Real, "138000", "138000", Trigger::EnterInResult,
                   Outcome::BadNumber, {}},
        LookupCase{"RefusedByEnterOnButton", DataFile::Real, "15", "15", Trigger::EnterOnButton,
                   Outcome::BadNumber, {}},
        LookupCase{"EmptyRefusedByClick", DataFile::Real, "", "", Trigger::Click, Outcome::BadNumber, {}},
        LookupCase{"WrongPrefixRefused", DataFile::Real, "14700001234", "14700001234", Trigger::EnterInNumber,
                   Outcome::BadNumber, {}},
        LookupCase{"RefusedEvenWithoutDataFile", DataFile::Missing, "1390", "1390", Trigger::Click,
                   Outcome::BadNumber, {}},
        LookupCase{"NotFound", DataFile::Real, "15400001234", "15400001234", Trigger::EnterInNumber,
                   Outcome::NotFound, {}},
        LookupCase{"NotFoundByEnterInResultField", DataFile::Fixture, "1399999", "1399999", Trigger::EnterInResult,
                   Outcome::NotFound, {}},
        // Unskinned, the focused push button is the default one: an Enter that got past the
        // program would reach the dialog manager and become a second click.
        LookupCase{"NotFoundByEnterOnPlainButton", DataFile::Fixture, "13999990000", "13999990000",
                   Trigger::EnterOnButton, Outcome::NotFound, {}, false},
        LookupCase{"MissingFile", DataFile::Missing, "13800001234", "13800001234", Trigger::EnterInNumber,
                   Outcome::NoDatabase, {}},
        LookupCase{"GarbageFile", DataFile::Garbage, "13800001234", "13800001234", Trigger::Click,
                   Outcome::NoDatabase, {}},
        LookupCase{"FileWithoutTable", DataFile::NoTable, "13800001234", "13800001234", Trigger::EnterInNumber,
                   Outcome::NoDatabase, {}},
        LookupCase{"LockedFile", DataFile::Locked, "13800001234", "13800001234", Trigger::EnterInNumber,
                   Outcome::NoDatabase, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace apptest
