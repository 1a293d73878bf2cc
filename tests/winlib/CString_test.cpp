// CString: loading from the string table (GBK, long and missing strings) and %1 formatting.
#include "CString.h"
#include "TestResource.h"

#include <gtest/gtest.h>

namespace {

TEST(CStringTest, LoadStringReadsTheWholeGbkTextOrReportsItMissing)
{
    std::string longText;
    for (int i = 0; i < 100; ++i)
        longText += "\xB2\xE2\xCA\xD4";  // 测试
    const struct {
        UINT id;
        BOOL loaded;
        std::string text;
    } cases[] = {
        {IDS_MENU_TEXT, TRUE, "\xB9\xD8\xD3\xDA \xB2\xE2\xCA\xD4(&A)..."},  // 关于 测试(&A)...
        {IDS_LONG, TRUE, longText},
        {IDS_MISSING, FALSE, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        CString text("previous");
        EXPECT_EQ(text.LoadString(c.id), c.loaded);
        EXPECT_EQ(text.str(), c.text);
        EXPECT_EQ(text.IsEmpty(), c.text.empty());
        EXPECT_EQ(text.GetLength(), static_cast<int>(c.text.size())) << "bytes, not characters";
    }
}

TEST(CStringTest, FormatWithArgReplacesEveryPlaceholderOnce)
{
    const struct {
        const char* format;
        const char* arg;
        const char* expected;
    } cases[] = {
        {"\xC7\xEB\xCC\xEE\xC8\xEB%1\xB8\xF6", "11", "\xC7\xEB\xCC\xEE\xC8\xEB" "11\xB8\xF6"},
        {"%1 and %1", "x", "x and x"},
        {"%1", "%1", "%1"},  // the argument is not expanded again
        {"no placeholder %2", "x", "no placeholder %2"},
        {"%1", nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(FormatWithArg(c.format, c.arg), c.expected);
    }
}

}  // namespace
