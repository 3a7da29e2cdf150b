#include "core/cp1251.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

struct CodeCase {
    char32_t codePoint;
    int byte; // -1: the code page lacks the character
};

void PrintTo(const CodeCase& c, std::ostream* os) {
    *os << "U+" << std::hex << static_cast<unsigned>(c.codePoint);
}

class Cp1251CodeTest : public testing::TestWithParam<CodeCase> {};

TEST_P(Cp1251CodeTest, MapsBothWays) {
    const CodeCase& c = GetParam();
    const auto byte = tarvel::ToCp1251(c.codePoint);
    if (c.byte < 0) {
        EXPECT_FALSE(byte.has_value()) << std::hex << static_cast<unsigned>(c.codePoint);
        return;
    }
    ASSERT_TRUE(byte.has_value()) << std::hex << static_cast<unsigned>(c.codePoint);
    EXPECT_EQ(*byte, c.byte);
    EXPECT_EQ(tarvel::FromCp1251(static_cast<unsigned char>(c.byte)), c.codePoint);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Cp1251CodeTest,
    testing::Values(CodeCase{U'\0', 0x00}, CodeCase{U'A', 0x41}, CodeCase{U'\x7F', 0x7F},
                    CodeCase{U'А', 0xC0}, CodeCase{U'Я', 0xDF}, CodeCase{U'а', 0xE0},
                    CodeCase{U'я', 0xFF}, CodeCase{U'Ё', 0xA8}, CodeCase{U'ё', 0xB8},
                    CodeCase{U'№', 0xB9}, CodeCase{U'—', 0x97}, CodeCase{U'–', 0x96},
                    CodeCase{U'€', 0x88}, CodeCase{U'Ђ', 0x80}, CodeCase{U'™', 0x99},
                    CodeCase{U'\u00A0', 0xA0}, CodeCase{U'«', 0xAB}, CodeCase{U'»', 0xBB},
                    CodeCase{U'ї', 0xBF}, CodeCase{U'І', 0xB2}, CodeCase{U'Ґ', 0xA5},
                    CodeCase{U'中', -1}, CodeCase{U'é', -1}, CodeCase{U'\u0080', -1},
                    CodeCase{U'\uFFFD', -1}, CodeCase{U'\U0001F600', -1}));

TEST(Cp1251, UnassignedByteHasNoCharacter) {
    EXPECT_EQ(tarvel::FromCp1251(0x98), U'\uFFFD');
}

TEST(Cp1251, EveryByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) {
            continue;
        }
        const auto back = tarvel::ToCp1251(tarvel::FromCp1251(static_cast<unsigned char>(b)));
        ASSERT_TRUE(back.has_value()) << b;
        EXPECT_EQ(*back, b);
    }
}

struct TextCase {
    std::string utf8;
    std::string cp1251;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.utf8);
}

class Utf8ToCp1251Test : public testing::TestWithParam<TextCase> {};

TEST_P(Utf8ToCp1251Test, ConvertsWithQuestionMarks) {
    EXPECT_EQ(tarvel::Utf8ToCp1251(GetParam().utf8), GetParam().cp1251);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf8ToCp1251Test,
                         testing::Values(TextCase{"", ""}, TextCase{"Abc 12", "Abc 12"},
                                         TextCase{"Ёж — №1", "\xA8\xE6 \x97 \xB9"
                                                             "1"},
                                         TextCase{"a中b", "a?b"}, TextCase{"x😀y", "x?y"},
                                         TextCase{"\xFF", "?"},          // not a lead byte
                                         TextCase{"a\xD0", "a?"},        // cut short
                                         TextCase{"\xD0x", "?x"},        // continuation missing
                                         TextCase{"\xC0\xAF", "??"},     // overlong
                                         TextCase{"\xED\xA0\x80", "???"} // surrogate
                                         ));

TEST(Cp1251ToUtf8, ConvertsBack) {
    EXPECT_EQ(tarvel::Cp1251ToUtf8("\xC0\xFF \xA8\xB8 \x88\x97"), "Ая Ёё €—");
    EXPECT_EQ(tarvel::Cp1251ToUtf8("Abc"), "Abc");
    const std::string russian = "Результаты теста";
    EXPECT_EQ(tarvel::Cp1251ToUtf8(tarvel::Utf8ToCp1251(russian)), russian);
}

} // namespace
