// The simulator's gas times follow the factors of the formula registers it holds, as the
// Parameters dialog pictures them, so a parameter write visibly moves them.

#include <gtest/gtest.h>

#include "link/wire.h"
#include "params/parameter_formula.h"
#include "sim/controller.h"
#include "sim/gas_factors.h"

namespace zav::sim {
namespace {

constexpr std::array<double, 4> kSpread = {0.0, 0.015, -0.02, 0.01};  // as the model has it

void Send(Controller& controller, std::uint8_t letter, std::uint8_t address, std::uint16_t value,
          Micros at) {
  for (const std::uint8_t byte : EncodeRequest(letter, address, value)) {
    controller.Receive(byte, at);
  }
}

// The largest relative miss of gas/petrol against the model's ratio over 20 s, in the
// samples taken on gas (a dip of the idle drops the controller to "Low RPM" for a while).
double LargestMiss(Controller& controller, Micros from, GasFactors factors, double& shortest,
                   double& longest) {
  double largest = 0.0;
  shortest = 100.0;
  longest = 0.0;
  int onGas = 0;
  for (Micros at = from; at <= from + 20 * kSecond; at += 100 * kMillisecond) {
    controller.Advance(at);
    if (controller.Status() != kStatusGas) {
      continue;
    }
    ++onGas;
    for (std::uint8_t injector = 0; injector < 4; ++injector) {
      const double petrolMs = controller.Register(32 + injector) / 2000.0;
      const double gasMs = controller.Register(36 + injector) / 2000.0;
      // Placed by the untrimmed petrol time: the engine's need (the factory factors) differs
      // from a written set, and on gas the petrol unit trims its times.
      const double untrimmedMs = petrolMs / controller.PetrolTrim();
      const double expected = GasToPetrolRatio(factors, untrimmedMs) * (1.0 + kSpread[injector]);
      largest = std::max(largest, std::abs(gasMs / petrolMs / expected - 1.0));
      shortest = std::min(shortest, petrolMs);
      longest = std::max(longest, petrolMs);
    }
  }
  EXPECT_GT(onGas, 100);
  return largest;
}

TEST(SimGasFactors, GasTimesFollowTheFactorsOfAWrittenParameterSet) {
  Controller controller;
  controller.Advance(60 * kSecond);
  Send(controller, kLetterSwitch, 0, 0, 60 * kSecond);
  Micros at = 60 * kSecond;
  while (controller.Status() != kStatusGas && at < 120 * kSecond) {
    at += 100 * kMillisecond;
    controller.Advance(at);
  }
  ASSERT_EQ(controller.Status(), kStatusGas);
  ASSERT_LT(at, 90 * kSecond);

  // Factory values: the default factors.
  double shortest = 0.0;
  double longest = 0.0;
  const GasFactors factory = FactorsOf(FactoryRegisters());
  EXPECT_NEAR(factory.left, 2.2, 1e-6);
  EXPECT_NEAR(factory.right, 1.12, 1e-6);
  EXPECT_LT(LargestMiss(controller, 90 * kSecond, factory, shortest, longest), 0.011);
  EXPECT_GT(longest, shortest);

  // The dialog's trackbars at the top left and the bottom right: factors 2.5 and 1.0.
  const FormulaResult formula = ApplyFormulaTo(599, TrackbarPositions{0, 25});
  const Micros written = 111 * kSecond;
  Send(controller, kLetterSet, 87, 599, written);
  Send(controller, kLetterSet, 88, static_cast<std::uint16_t>(formula.yAxis), written);
  Send(controller, kLetterSet, 89, static_cast<std::uint16_t>(formula.numerator), written);
  controller.Advance(written + kSecond);
  EXPECT_EQ(controller.Register(89), formula.numerator);

  StoredRegisters now = FactoryRegisters();
  for (std::uint8_t address = 87; address <= 89; ++address) {
    StoredAt(now, address) = controller.Register(address);
  }
  const GasFactors writtenFactors = FactorsOf(now);
  EXPECT_NEAR(writtenFactors.left, 2.5, 0.021);
  EXPECT_NEAR(writtenFactors.right, 1.0, 0.021);
  EXPECT_LT(LargestMiss(controller, written + kSecond, writtenFactors, shortest, longest), 0.011);
  // Against the old factors the new gas times are plainly off.
  EXPECT_GT(LargestMiss(controller, written + 22 * kSecond, factory, shortest, longest), 0.05);
}

}  // namespace
}  // namespace zav::sim
