#include "core/name_filter.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct TypedCase {
    char16_t typed;
    bool accepted;
};

void PrintTo(const TypedCase& c, std::ostream* os) {
    *os << "U+" << std::hex << static_cast<unsigned>(c.typed);
}

class NameFilterTest : public testing::TestWithParam<TypedCase> {};

TEST_P(NameFilterTest, PassesOnlyRussianLettersAndEditingKeys) {
    EXPECT_EQ(tarvel::IsNameCharAccepted(GetParam().typed), GetParam().accepted)
        << "U+" << std::hex << static_cast<unsigned>(GetParam().typed);
}

INSTANTIATE_TEST_SUITE_P(Accepted, NameFilterTest,
                         testing::Values(TypedCase{u'\b', true}, TypedCase{u'\r', true},
                                         TypedCase{u' ', true}, TypedCase{u'А', true},
                                         TypedCase{u'Я', true}, TypedCase{u'а', true},
                                         TypedCase{u'я', true}, TypedCase{u'Ж', true},
                                         TypedCase{u'щ', true}));

INSTANTIATE_TEST_SUITE_P(
    Refused, NameFilterTest,
    testing::Values(TypedCase{u'Ё', false}, TypedCase{u'ё', false}, TypedCase{u'0', false},
                    TypedCase{u'9', false}, TypedCase{u'A', false}, TypedCase{u'z', false},
                    TypedCase{u'-', false}, TypedCase{u'\'', false}, TypedCase{u'.', false},
                    TypedCase{u'\n', false}, TypedCase{u'\t', false}, TypedCase{u'\x16', false},
                    TypedCase{u'\x03', false}, TypedCase{u'\x18', false}, TypedCase{u'\x1A', false},
                    TypedCase{u'\x1B', false}, TypedCase{u'\0', false}, TypedCase{u'—', false},
                    TypedCase{u'№', false}, TypedCase{u'\u00A0', false}, TypedCase{u'ї', false},
                    TypedCase{u'中', false}, TypedCase{u'é', false},
                    TypedCase{char16_t{0xD83D}, false}, TypedCase{char16_t{0xDE00}, false}));

} // namespace
