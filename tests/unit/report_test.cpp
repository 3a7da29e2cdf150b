#include "core/report.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

TEST(ReportLines, HasFiveLinesWithTheNameAsTyped) {
    const Lines zero = tarvel::ReportLines("01.02.2024", "Иванов Иван", 0);
    EXPECT_EQ(zero, (Lines{"01.02.2024", "Иванов Иван", "Результаты теста Тарвела", "",
                           "Количетво правильных ответов - 0"}));
    EXPECT_EQ(
        tarvel::ReportLines("d", "   ", 70),
        (Lines{"d", "   ", "Результаты теста Тарвела", "", "Количетво правильных ответов - 70"}));
}

struct FileCase {
    const char* name;
    std::string nameBytes;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << testing::PrintToString(std::string(c.name));
}

class ReportFileTest : public testing::TestWithParam<FileCase> {};

TEST_P(ReportFileTest, WritesWindows1251LinesEndingInCrLf) {
    const std::string bytes =
        tarvel::ReportFileBytes(tarvel::ReportLines("05.03.2024", GetParam().name, 70));
    const std::string heading = "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB \xF2\xE5\xF1\xF2\xE0 "
                                "\xD2\xE0\xF0\xE2\xE5\xEB\xE0";
    const std::string count = "\xCA\xEE\xEB\xE8\xF7\xE5\xF2\xE2\xEE "
                              "\xEF\xF0\xE0\xE2\xE8\xEB\xFC\xED\xFB\xF5 "
                              "\xEE\xF2\xE2\xE5\xF2\xEE\xE2 - 70";
    EXPECT_EQ(bytes, "05.03.2024\r\n" + GetParam().nameBytes + "\r\n" + heading + "\r\n\r\n" +
                         count + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Names, ReportFileTest,
                         testing::Values(FileCase{"Пётр", "\xCF\xB8\xF2\xF0"}, FileCase{"  ", "  "},
                                         FileCase{"Ivan 2", "Ivan 2"}, FileCase{"Li 李", "Li ?"},
                                         FileCase{"", ""}));

TEST(ReportFileBytes, LengthIsLinesPlusTwoPerLine) {
    const Lines lines = tarvel::ReportLines("2024-03-05", "Анна", 12);
    // Counted in Windows-1251 bytes, one per Cyrillic letter.
    const std::string bytes = tarvel::ReportFileBytes(lines);
    EXPECT_EQ(bytes.substr(0, 3), "202"); // no byte-order mark
    EXPECT_EQ(bytes.size(), 10 + 4 + 24 + 0 + 33 + 2 * lines.size());
}

} // namespace
