// Tests of the platform-free skin-file parser: accepted files, skipped lines, bad values.
#include "SkinFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using skin::Color;
using skin::ParseColor;
using skin::ParseSkin;

TEST(ParseColor, AcceptsOnlyTheTwoDocumentedForms) {
    struct Case {
        const char* text;
        std::optional<Color> expected;
    };
    const Case cases[] = {
        {"#1A2b3C", Color{0x1A, 0x2B, 0x3C}},
        {"  #FFFFFF\t", Color{255, 255, 255}},
        {"12,34,56", Color{12, 34, 56}},
        {" 0 , 128 , 255 ", Color{0, 128, 255}},
        {"+1,2,3", Color{1, 2, 3}},
        {"", std::nullopt},
        {"#", std::nullopt},
        {"#12345", std::nullopt},
        {"#1234567", std::nullopt},
        {"#12345G", std::nullopt},
        {"123456", std::nullopt},
        {"0x123456", std::nullopt},
        {"1,2", std::nullopt},
        {"1,2,3,4", std::nullopt},
        {"1,,3", std::nullopt},
        {"256,0,0", std::nullopt},
        {"-1,0,0", std::nullopt},
        {"99999999999999999999,0,0", std::nullopt},
        {"1.5,2,3", std::nullopt},
        {"red", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseColor(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(ParseSkin, ReadsEveryValueOfACompleteFile) {
    const auto settings = ParseSkin(
        "[Dialog]\nBackground=#010203\nText=#040506\n"
        "[GroupBox]\nFrame=#070809\nText=#0A0B0C\n"
        "[Button]\nFace=#101112\nText=#131415\nBorder=#161718\nFocus=#191A1B\nRadius=4\n"
        "[ButtonHot]\nFace=#202122\nText=#232425\nBorder=#262728\n"
        "[ButtonPressed]\nFace=#303132\nText=#333435\nBorder=#363738\n"
        "[ButtonDisabled]\nFace=#404142\nText=#434445\nBorder=#464748\n"
        "[Edit]\nBackground=#505152\nText=#535455\nBorder=#565758\n"
        "[ReadOnlyEdit]\nBackground=#606162\nText=#636465\n"
        "[Font]\nFace=Tahoma\nSize=11\n");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->dialogBackground, (Color{1, 2, 3}));
    EXPECT_EQ(settings->dialogText, (Color{4, 5, 6}));
    EXPECT_EQ(settings->groupFrame, (Color{7, 8, 9}));
    EXPECT_EQ(settings->groupText, (Color{10, 11, 12}));
    EXPECT_EQ(settings->button.face, (Color{0x10, 0x11, 0x12}));
    EXPECT_EQ(settings->button.text, (Color{0x13, 0x14, 0x15}));
    EXPECT_EQ(settings->button.border, (Color{0x16, 0x17, 0x18}));
    EXPECT_EQ(settings->buttonFocus, (Color{0x19, 0x1A, 0x1B}));
    EXPECT_EQ(settings->buttonRadius, 4);
    EXPECT_EQ(settings->buttonHot.face, (Color{0x20, 0x21, 0x22}));
    EXPECT_EQ(settings->buttonHot.text, (Color{0x23, 0x24, 0x25}));
    EXPECT_EQ(settings->buttonHot.border, (Color{0x26, 0x27, 0x28}));
    EXPECT_EQ(settings->buttonPressed.face, (Color{0x30, 0x31, 0x32}));
    EXPECT_EQ(settings->buttonPressed.text, (Color{0x33, 0x34, 0x35}));
    EXPECT_EQ(settings->buttonPressed.border, (Color{0x36, 0x37, 0x38}));
    EXPECT_EQ(settings->buttonDisabled.face, (Color{0x40, 0x41, 0x42}));
    EXPECT_EQ(settings->buttonDisabled.text, (Color{0x43, 0x44, 0x45}));
    EXPECT_EQ(settings->buttonDisabled.border, (Color{0x46, 0x47, 0x48}));
    EXPECT_EQ(settings->editBackground, (Color{0x50, 0x51, 0x52}));
    EXPECT_EQ(settings->editText, (Color{0x53, 0x54, 0x55}));
    EXPECT_EQ(settings->editBorder, (Color{0x56, 0x57, 0x58}));
    EXPECT_EQ(settings->readOnlyBackground, (Color{0x60, 0x61, 0x62}));
    EXPECT_EQ(settings->readOnlyText, (Color{0x63, 0x64, 0x65}));
    EXPECT_EQ(settings->fontFace, std::string("Tahoma"));
    EXPECT_EQ(settings->fontPoints, 11);
    EXPECT_FALSE(settings->utf8);
}

TEST(ParseSkin, RefusesWhatIsNotASkin) {
    const std::string cases[] = {
        "",
        "\n\n  \r\n",
        "; only a comment\n",
        "Background=#010203\n",                 // a key outside any section
        "[Unknown]\nBackground=#010203\n",      // no known section
        "[Dialog\nBackground=#010203\n",        // header never closed
        std::string("[Dialog]\nBackground=#01\0" "203\n", 26),  // NUL: binary
        "[Dialog]\nBackground=#010203\x01\n",   // other control byte
        "\x7F" "ELF[Dialog]\n",
        "[Dialog]\n" + std::string(skin::kMaxSkinBytes, ';'),  // larger than any skin
    };
    for (const std::string& bytes : cases) {
        EXPECT_FALSE(ParseSkin(bytes)) << '"' << bytes.substr(0, 40) << '"';
    }
}

// Each case: one file; the dialog background it should end up with.
TEST(ParseSkin, QuirkyLinesAreReadOrSkippedAsDocumented) {
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<Color> background;
    };
    const Color blue{0, 0, 255};
    const Case cases[] = {
        {"CRLF", "[Dialog]\r\nBackground=#0000FF\r\n", blue},
        {"lone CR at the end", "[Dialog]\nBackground=#0000FF\r", blue},
        {"no final newline", "[Dialog]\nBackground=#0000FF", blue},
        {"blanks everywhere", "  [ Dialog ]  \n\t Background\t=\t#0000FF  \n", blue},
        {"names in any case", "[dIALOG]\nbackGROUND=#0000ff\n", blue},
        {"inline comment", "[Dialog]\nBackground = #0000FF ; blue\n", blue},
        {"full-line comments", "; c\n# c\n[Dialog]\n;Background=#FF0000\nBackground=#0000FF\n", blue},
        {"UTF-8 BOM", "\xEF\xBB\xBF[Dialog]\nBackground=#0000FF\n", blue},
        {"later value wins", "[Dialog]\nBackground=#FF0000\nBackground=#0000FF\n", blue},
        {"section reopened", "[Dialog]\n[Edit]\n[Dialog]\nBackground=#0000FF\n", blue},
        {"missing value", "[Dialog]\nBackground=\n", std::nullopt},
        {"missing equals sign", "[Dialog]\nBackground #0000FF\n", std::nullopt},
        {"bad value", "[Dialog]\nBackground=#00GGFF\n", std::nullopt},
        {"bad value after a good one", "[Dialog]\nBackground=#0000FF\nBackground=bad\n",
         std::nullopt},
        {"key of another section", "[Edit]\nFrame=#0000FF\n[Dialog]\n", std::nullopt},
        {"key under a broken header",
         "[Dialog]\n[GroupBox\nBackground=#0000FF\n", std::nullopt},
        {"key under an unknown section", "[Dialog]\n[Other]\nBackground=#0000FF\n",
         std::nullopt},
        {"over-long line is skipped whole",
         "[Dialog]\nBackground=#0000FF" + std::string(skin::kMaxLineBytes, ' ') + "x\n",
         std::nullopt},
        {"over-long line does not stop the rest",
         "[Dialog]\n;" + std::string(4 * skin::kMaxLineBytes, 'x') + "\nBackground=#0000FF\n",
         blue},
        {"half-written value", "[Dialog]\nBackground=#0000", std::nullopt},
        {"half-written key", "[Dialog]\nBackgr", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto settings = ParseSkin(c.bytes);
        ASSERT_TRUE(settings) << c.name;
        EXPECT_EQ(settings->dialogBackground, c.background) << c.name;
    }
}

TEST(ParseSkin, NumbersOutsideTheirRangeAreDropped) {
    struct Case {
        const char* size;
        std::optional<int> points;
    };
    const Case sizes[] = {
        {"9", 9},   {"6", 6},     {"48", 48},          {"5", std::nullopt},
        {"49", std::nullopt},     {"0", std::nullopt}, {"-9", std::nullopt},
        {"99999999999999999999999", std::nullopt},     {"9pt", std::nullopt},
        {"", std::nullopt},       {"nine", std::nullopt},
    };
    for (const Case& c : sizes) {
        const auto settings = ParseSkin(std::string("[Font]\nSize=") + c.size + "\n");
        ASSERT_TRUE(settings) << c.size;
        EXPECT_EQ(settings->fontPoints, c.points) << c.size;
    }
    for (const auto& [radius, expected] :
         {std::pair<const char*, std::optional<int>>{"0", 0}, {"12", 12}, {"13", std::nullopt},
          {"-1", std::nullopt}, {"1e3", std::nullopt}}) {
        const auto settings = ParseSkin(std::string("[Button]\nRadius=") + radius + "\n");
        ASSERT_TRUE(settings) << radius;
        EXPECT_EQ(settings->buttonRadius, expected) << radius;
    }
}

TEST(ParseSkin, FontFaceKeepsItsBytesAndTheirEncoding) {
    const std::string gbkSimSun = "\xCB\xCE\xCC\xE5";  // "宋体" in GBK
    auto settings = ParseSkin("[Font]\nFace = " + gbkSimSun + " \n");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->fontFace, gbkSimSun);
    EXPECT_FALSE(settings->utf8);

    const std::string utf8SimSun = "\xE5\xAE\x8B\xE4\xBD\x93";
    settings = ParseSkin("\xEF\xBB\xBF[Font]\nFace=" + utf8SimSun + "\n");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->fontFace, utf8SimSun);
    EXPECT_TRUE(settings->utf8);

    settings = ParseSkin("[Font]\nFace=Microsoft YaHei UI\n");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->fontFace, std::string("Microsoft YaHei UI"));

    settings = ParseSkin("[Font]\nFace=" + std::string(skin::kMaxFaceBytes + 1, 'F') + "\n");
    ASSERT_TRUE(settings);
    EXPECT_FALSE(settings->fontFace);
}

// Every prefix of a good file is what a half-written file looks like: it must parse
// without fault and never yield a value the full file does not hold. (Hex colours have a
// fixed length; a decimal colour or number cut short can still be a valid one.)
TEST(ParseSkin, EveryPrefixOfAGoodFileIsSafe) {
    const std::string full =
        "[Dialog]\r\nBackground = #E4EAF1\r\nText = #1F2D3D\r\n[Button]\r\nRadius = 3\r\n";
    const auto complete = ParseSkin(full);
    ASSERT_TRUE(complete);
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const auto settings = ParseSkin(full.substr(0, n));
        if (!settings) continue;
        EXPECT_TRUE(!settings->dialogBackground || settings->dialogBackground == complete->dialogBackground)
            << n;
        EXPECT_TRUE(!settings->dialogText || settings->dialogText == complete->dialogText) << n;
        EXPECT_TRUE(!settings->buttonRadius || settings->buttonRadius == complete->buttonRadius) << n;
    }
}

}  // namespace
