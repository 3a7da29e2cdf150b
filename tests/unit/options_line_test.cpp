#include "core/options_line.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

using Buttons = std::vector<std::string>;

struct OptionsCase {
    const char* line;
    Buttons buttons;
};

void PrintTo(const OptionsCase& c, std::ostream* os) {
    *os << testing::PrintToString(std::string(c.line));
}

class OptionsLineTest : public testing::TestWithParam<OptionsCase> {};

TEST_P(OptionsLineTest, GivesTheButtonCaptions) {
    EXPECT_EQ(tarvel::SplitItems(tarvel::OptionsToLines(GetParam().line)), GetParam().buttons)
        << "options line: " << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Separators, OptionsLineTest,
    testing::Values(OptionsCase{"a;b;c", {"a", "b", "c"}}, OptionsCase{"a;b;c;", {"a", "b", "c"}},
                    OptionsCase{"a;b;;", {"a", "b"}}, OptionsCase{"a;;b", {"a", "b"}},
                    OptionsCase{"a;;;b", {"a", "", "b"}}, OptionsCase{";a;b", {"a", "b"}},
                    OptionsCase{";;a", {"", "a"}}, OptionsCase{"a", {"a"}}, OptionsCase{";", {}},
                    OptionsCase{";;", {}}, OptionsCase{"", {}}));

INSTANTIATE_TEST_SUITE_P(Quotes, OptionsLineTest,
                         testing::Values(OptionsCase{"a;\"b;c\";d", {"a", "\"bc\"", "d"}},
                                         OptionsCase{"a;b'c;d", {"a", "b'cd"}},
                                         OptionsCase{"'x\"y;z';w", {"'x\"yz'", "w"}},
                                         OptionsCase{"1. Цепь A.;2. Цепь B.;3. Цепь C.",
                                                     {"1. Цепь A.", "2. Цепь B.", "3. Цепь C."}}));

TEST(OptionsToLines, PutsCrLfBetweenPiecesOnly) {
    EXPECT_EQ(tarvel::OptionsToLines("a;b;;"), "a\r\nb");
    EXPECT_EQ(tarvel::OptionsToLines(";;a"), "\r\na");
    EXPECT_EQ(tarvel::OptionsToLines("a;;;b"), "a\r\n\r\nb");
}

struct SplitCase {
    const char* text;
    Buttons items;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << testing::PrintToString(std::string(c.text));
}

class SplitItemsTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitItemsTest, CutsAtEveryKindOfBreak) {
    EXPECT_EQ(tarvel::SplitItems(GetParam().text), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, SplitItemsTest,
    testing::Values(SplitCase{"", {}}, SplitCase{"a", {"a"}}, SplitCase{"a\r\nb", {"a", "b"}},
                    SplitCase{"a\rb\nc", {"a", "b", "c"}}, SplitCase{"a\n\rb", {"a", "", "b"}},
                    SplitCase{"a\r\n", {"a"}}, SplitCase{"\r\n", {""}}, SplitCase{"a\r", {"a"}},
                    SplitCase{"\na\r\n\r\n", {"", "a", ""}}));

} // namespace
