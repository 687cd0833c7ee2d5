#include "host/toolkit/builtins.h"
#include "host/toolkit/name_order.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(TextFunctions, PositionsAndPartsCountBytesFromOne)
{
    const std::string text = "正在@@b@@"; // "正在" is six bytes in UTF-8
    EXPECT_EQ(host::Pos(text, "@@"), 7);
    EXPECT_EQ(host::Pos(text, "@@", 8), 10);
    EXPECT_EQ(host::Pos(text, "@@", 12), 0);
    EXPECT_EQ(host::Pos(text, "x"), 0);
    EXPECT_EQ(host::Mid(text, 1, 6), "正在");
    EXPECT_EQ(host::Mid(text, 9, 1), "b");
    EXPECT_EQ(host::Mid(text, 9, 0), "");
    EXPECT_EQ(host::Mid(text, 40, 3), ""); // past the end is empty, not a crash
    EXPECT_EQ(host::Mid(text, 9), "b@@");
    EXPECT_EQ(host::Space(3), "   ");
    EXPECT_EQ(host::String(-42), "-42");
}

TEST(NameOrder, NumbersCompareByValueLettersIgnoreCaseAndHanComesByPinyinAfterLetters)
{
    std::vector<std::string> names = {"b10.zqr", "B2.zqr",  "a.zqr",
                                      "b1.zqr",  "A10.zqr", "文档.zqr"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return host::nameLess(a, b); });
    const std::vector<std::string> expected = {"a.zqr",  "A10.zqr", "b1.zqr",
                                               "B2.zqr", "b10.zqr", "文档.zqr"};
    EXPECT_EQ(names, expected);
    // Names equal but for case or leading zeros still have a fixed order.
    EXPECT_NE(host::compareNames("a01", "a1"), 0);
    EXPECT_EQ(host::compareNames("x", "x"), 0);

    // Han characters by their pinyin (chá, jiǎn, pào, wén), after the names in letters.
    names = {"泡", "文库", "简", "a10", "茶", "B", "a9"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return host::nameLess(a, b); });
    EXPECT_EQ(names, (std::vector<std::string>{"a9", "a10", "B", "茶", "简", "泡", "文库"}));
}

} // namespace
