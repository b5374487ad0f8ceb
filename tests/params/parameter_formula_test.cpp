// The formula of the Parameters dialog as pure arithmetic: opening positions, factors in
// single precision, the notification's results and GAS line, and the edit number rule.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "params/edit_number.h"
#include "params/parameter_formula.h"

namespace zav {
namespace {

struct OpeningCase {
  std::string name;
  std::uint16_t x, y, n;
  int rawLeft, rawRight;
  TrackbarPositions positions;
};

void PrintTo(const OpeningCase& opening, std::ostream* out) {
  *out << opening.name;
}

class OpeningPositionTest : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(OpeningPositionTest, SolvesThePositionsInIntegersAndBringsThemIntoRange) {
  const OpeningCase& c = GetParam();
  EXPECT_EQ(OpeningLeftPosition(c.x, c.y), c.rawLeft);
  EXPECT_EQ(OpeningRightPosition(c.x, c.y, c.n), c.rawRight);
  EXPECT_EQ(OpeningPositions(c.x, c.y, c.n), c.positions);
}

INSTANTIATE_TEST_SUITE_P(
    Registers, OpeningPositionTest,
    ::testing::Values(OpeningCase{"Defaults", 599, 4000, 48160, 15, 19, {15, 19}},
                      // The truncated term -21 counts as its low 16 bits, 65515.
                      OpeningCase{"AllZero", 0, 0, 0, -111, -32682, {0, 0}},
                      // A large "Y axis" pushes the left trackbar below its bottom, and the right
                      // one above its top through a negative term (-101 counts as 65435).
                      OpeningCase{"LargeYAxis", 599, 65535, 48160, 454, -32642, {50, 0}},
                      // The largest term: T(6.25 x 65535 / 1450 - 21) = 261.
                      OpeningCase{"LargestNumerator", 0, 0, 65535, -111, -55, {0, 0}}),
    [](const auto& test) { return test.param.name; });

TEST(FactorTest, FactorsAreHeldInSinglePrecision) {
  EXPECT_EQ(static_cast<double>(LeftFactor(1)), 2.4800000190734863);
  EXPECT_EQ(LeftFactor(0), 2.5f);
  EXPECT_EQ(LeftFactor(50), 1.5f);
  EXPECT_EQ(RightFactor(0), 1.5f);
  EXPECT_EQ(RightFactor(25), 1.0f);
}

struct FormulaCase {
  std::string name;
  std::uint16_t x;
  TrackbarPositions positions;
  bool standIn;
  std::uint32_t yAxis;
  std::uint32_t numerator;
};

void PrintTo(const FormulaCase& formula, std::ostream* out) {
  *out << formula.name;
}

class FormulaTest : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(FormulaTest, GivesTheDocumentedYAxisAndNumerator) {
  const FormulaCase& c = GetParam();
  const FormulaResult result = ApplyFormulaTo(c.x, c.positions);
  EXPECT_EQ(result.xAxisStandIn, c.standIn);
  EXPECT_EQ(result.yAxis, c.yAxis);
  EXPECT_EQ(result.numerator, c.numerator);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FormulaTest,
    ::testing::Values(
        FormulaCase{"DefaultsAtOpening", 599, {15, 19}, false, 3983, 48140},
        FormulaCase{"XAxisZeroUses599", 0, {0, 0}, true, 1883, 58207},
        FormulaCase{"BothAtTheBottom", 599, {50, 25}, false, 8883, 49783},
        // "Y axis" -4329 wraps; "Numerator" 160964 is capped.
        FormulaCase{"NegativeYAxisAndCappedNumerator", 5000, {50, 0}, false, 4294962967u, 65535}),
    [](const auto& test) { return test.param.name; });

TEST(RepaintLineTest, EndsFollowThePositionsInIntegers) {
  EXPECT_EQ(RepaintGasLine({0, 0}), (GasLine{227, 200}));
  EXPECT_EQ(RepaintGasLine({50, 25}), (GasLine{277, 250}));
  EXPECT_EQ(RepaintGasLine({15, 19}), (GasLine{242, 238}));
}

// The single-precision factors put the notification's line one pixel higher at exactly
// these positions; everywhere else both lines agree.
const std::set<int> kLeftPositionsOnePixelHigher{1,  2,  3,  4,  5,  6,  13, 14, 15, 16, 17, 18,
                                                 26, 27, 28, 32, 33, 34, 38, 39, 40, 44, 45, 46};
const std::set<int> kRightPositionsOnePixelHigher{1, 2, 3, 7, 8, 9, 13, 14, 15, 19, 20, 21};

TEST(NotificationLineTest, LeftEndLiesOnePixelHigherAtTheListedPositions) {
  for (int p1 = 0; p1 <= kLeftTrackbarLast; ++p1) {
    const int expected = kLeftPositionsOnePixelHigher.contains(p1) ? 226 + p1 : 227 + p1;
    EXPECT_EQ(ApplyFormulaTo(599, {p1, 0}).line.leftY, expected) << "left position " << p1;
  }
}

TEST(NotificationLineTest, RightEndLiesOnePixelHigherAtTheListedPositions) {
  for (int p2 = 0; p2 <= kRightTrackbarLast; ++p2) {
    const int expected = kRightPositionsOnePixelHigher.contains(p2) ? 199 + 2 * p2 : 200 + 2 * p2;
    EXPECT_EQ(ApplyFormulaTo(599, {0, p2}).line.rightY, expected) << "right position " << p2;
  }
}

TEST(NotificationLineTest, DoesNotDependOnTheXAxis) {
  EXPECT_EQ(ApplyFormulaTo(0, {1, 1}).line, ApplyFormulaTo(65535, {1, 1}).line);
}

struct EditTextCase {
  std::string text;
  std::optional<std::uint16_t> value;
};

void PrintTo(const EditTextCase& edit, std::ostream* out) {
  *out << '"' << edit.text << '"';
}

class EditNumberTest : public ::testing::TestWithParam<EditTextCase> {};

TEST_P(EditNumberTest, AcceptsDecimalDigitsUpTo65535Only) {
  EXPECT_EQ(ReadParameterText(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EditNumberTest,
    ::testing::Values(EditTextCase{"0", 0}, EditTextCase{"65535", 65535}, EditTextCase{"00042", 42},
                      EditTextCase{"65536", std::nullopt}, EditTextCase{"", std::nullopt},
                      EditTextCase{"-1", std::nullopt}, EditTextCase{"+1", std::nullopt},
                      EditTextCase{"12a", std::nullopt}, EditTextCase{" 12", std::nullopt},
                      EditTextCase{"1 2", std::nullopt}, EditTextCase{"4294962967", std::nullopt},
                      // Long enough to wrap a 64-bit accumulator.
                      EditTextCase{"18446744073709551617", std::nullopt}));

}  // namespace
}  // namespace zav
