// The tables of the parameter set agree with each other and with the caption list, and
// "Default values" touches registers 80 to 94 only.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/parameter_set.h"
#include "texts/captions.h"

namespace zav {
namespace {

std::vector<std::string> CaptionsOf(std::string_view list) {
  std::vector<std::string> captions;
  std::size_t start = 0;
  for (std::size_t end = list.find('*'); end != std::string_view::npos;
       start = end + 1, end = list.find('*', start)) {
    captions.emplace_back(list.substr(start, end - start));
  }
  return captions;
}

TEST(ParameterTablesTest, DefaultsAreTheFifteenDocumentedValues) {
  const ParameterWords expected{40,   500,   650, 500,  200, 500, 3300, 599,
                                4000, 48160, 5,   2000, 0,   0,   0};
  EXPECT_EQ(kDefaultParameters, expected);
}

TEST(ParameterTablesTest, DialogEditsRunInTheDocumentedOrder) {
  const std::array<int, 13> expected{2042, 2041, 2040, 2030, 2032, 2033, 2031,
                                     2034, 2035, 2036, 2037, 2038, 2039};
  EXPECT_EQ(kParameterEdits, expected);
}

TEST(ParameterTablesTest, CaptionControlsShowTheMembersCaptionInBothWindows) {
  const std::vector<std::string> captions = CaptionsOf(kParameterCaptions);
  ASSERT_EQ(captions.size(), 16u);
  for (int i = 0; i < kEditableParameters; ++i) {
    const ParameterMember& member = kParameterSet[static_cast<std::size_t>(i)];
    EXPECT_EQ(member.address, 80 + i);
    EXPECT_EQ(captions[static_cast<std::size_t>(member.dialogCaption - 2001)], member.caption);
    EXPECT_EQ(captions[static_cast<std::size_t>(member.mainCaption - 1069)], member.caption);
    EXPECT_EQ(member.mainEdit, 1085 + i) << "main window edits follow register order";
  }
}

TEST(ApplyDefaultsTest, ReplacesRegisters80To94AndLeavesTheRestAlone) {
  RegisterImage image;
  image.values.fill(7);
  ApplyDefaults(image);
  for (int i = 0; i < kParameterCount; ++i) {
    EXPECT_EQ(image.values[static_cast<std::size_t>(i)],
              kDefaultParameters[static_cast<std::size_t>(i)]);
  }
  for (std::size_t slot = kParameterCount; slot < image.values.size(); ++slot) {
    EXPECT_EQ(image.values[slot], 7) << "register " << 80 + slot;
  }
}

}  // namespace
}  // namespace zav
