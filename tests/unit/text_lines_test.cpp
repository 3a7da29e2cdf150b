#include "core/text_lines.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

struct LinesCase {
    const char* text;
    std::vector<std::string> lines;
};

void PrintTo(const LinesCase& c, std::ostream* os) {
    *os << testing::PrintToString(std::string(c.text));
}

class SplitTextLinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(SplitTextLinesTest, KeepsLinesAsStored) {
    EXPECT_EQ(tarvel::SplitTextLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitTextLinesTest,
    testing::Values(LinesCase{"", {}}, LinesCase{"a", {"a"}}, LinesCase{"a\n", {"a"}},
                    LinesCase{"a\r\nb\r\n", {"a", "b"}}, LinesCase{"a\nb", {"a", "b"}},
                    LinesCase{"a \n b\t\r\n", {"a ", " b\t"}}, LinesCase{"\n\n", {"", ""}},
                    LinesCase{"a\r", {"a\r"}},     // a CR without LF is not a line end
                    LinesCase{"a\rb\n", {"a\rb"}}, // nor inside a line
                    LinesCase{"a\r\r\n", {"a\r"}}, // only the CR right before the LF goes
                    LinesCase{"Цепь;Вал\r\n", {"Цепь;Вал"}}));

} // namespace
