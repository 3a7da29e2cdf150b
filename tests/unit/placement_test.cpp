#include "core/placement.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tarvel {

// Found by GoogleTest through the argument type's namespace.
void PrintTo(const tarvel::Placement& p, std::ostream* os) {
    *os << p.width << "x" << p.height << " at (" << p.left << "," << p.top << ")";
}

} // namespace tarvel

namespace {

struct PlaceCase {
    int width;
    int height;
    tarvel::Placement drawn;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.width << "x" << c.height;
}

class CentredTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(CentredTest, ShrinksAndCentresInTheTaskBox) {
    const tarvel::Placement p = tarvel::PlaceCentred(GetParam().width, GetParam().height, 420, 220);
    EXPECT_EQ(p, GetParam().drawn) << GetParam().width << "x" << GetParam().height;
}

INSTANTIATE_TEST_SUITE_P(
    TaskBox, CentredTest,
    testing::Values(PlaceCase{400, 107, {10, 56, 400, 107}}, PlaceCase{400, 212, {10, 4, 400, 212}},
                    PlaceCase{420, 220, {0, 0, 420, 220}}, PlaceCase{500, 200, {0, 26, 420, 168}},
                    PlaceCase{400, 300, {63, 0, 293, 220}}, PlaceCase{300, 400, {127, 0, 165, 220}},
                    PlaceCase{1000, 1000, {100, 0, 220, 220}},
                    PlaceCase{421, 100, {0, 60, 420, 99}}, // only the width too big
                    PlaceCase{100, 221, {160, 0, 99, 220}}, PlaceCase{0, 100, {}},
                    PlaceCase{100, -5, {}}));

class TopLeftTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(TopLeftTest, ShrinksIntoTheAboutBoxCorner) {
    const tarvel::Placement p = tarvel::PlaceTopLeft(GetParam().width, GetParam().height, 129, 289);
    EXPECT_EQ(p, GetParam().drawn) << GetParam().width << "x" << GetParam().height;
}

INSTANTIATE_TEST_SUITE_P(AboutBox, TopLeftTest,
                         testing::Values(PlaceCase{220, 506, {0, 0, 125, 289}},
                                         PlaceCase{100, 200, {0, 0, 100, 200}},
                                         PlaceCase{300, 100, {0, 0, 129, 43}},
                                         PlaceCase{0, 0, {}}));

TEST(FitProportional, RefusesEmptySizesWithoutDividing) {
    int w = -1;
    int h = -1;
    tarvel::FitProportional(100, 100, 0, 220, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    tarvel::FitProportional(100, 0, 420, 220, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(tarvel::PlaceCentred(100, 100, -1, 220), tarvel::Placement{});
}

} // namespace
