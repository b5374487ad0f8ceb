// Numbers and JSON as zavctl writes them: the shortest text that reads back to the same
// value in the value's own type, and objects laid out in the order a reader expects.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "cli/json_output.h"
#include "texts/shortest_number.h"

namespace zav {
namespace {

struct FloatCase {
  float value;
  const char* text;
};

class ShortestFloatText : public ::testing::TestWithParam<FloatCase> {};

// Single-precision values, each written as it was meant; none of them is exact in binary.
TEST_P(ShortestFloatText, IsWhatAPersonWrites) {
  EXPECT_EQ(ShortestText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Factors, ShortestFloatText,
                         ::testing::Values(FloatCase{2.2f, "2.2"}, FloatCase{1.12f, "1.12"},
                                           FloatCase{0.1f, "0.1"}, FloatCase{-0.02f, "-0.02"},
                                           FloatCase{16777216.0f, "16777216"}, FloatCase{3.0f, "3"},
                                           FloatCase{1e-7f, "1e-07"}));

TEST(ShortestDoubleText, KeepsEveryDigitTheDoubleNeeds) {
  EXPECT_EQ(ShortestText(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(ShortestText(3.25), "3.25");
  EXPECT_EQ(ShortestText(1150.0), "1150");
  // The float 2.2 widened: a different value, and it says so.
  EXPECT_EQ(ShortestText(static_cast<double>(2.2f)), "2.200000047683716");
}

TEST(JsonText, OrdersRegistersByNumberAndWritesNumbersShortest) {
  using cli::Json;
  Json object = Json::object();
  object["100"] = {{"value", 65535}, {"caption", "Serial number"}, {"unit", ""}};
  object["80"] = {{"value", 0},
                  {"caption", "Petrol \"BA\"\n"},
                  {"unit",
                   "\xc2\xb0"
                   "C"}};
  object["config_name"] = nullptr;
  object["factors"] = {cli::JsonNumber(2.2f), cli::JsonNumber(1.12f), 0.1 + 0.2, -1.5};
  object["broken"] = std::string(
      "a\xff"
      "b");  // not UTF-8: the byte is replaced, not fatal
  object["missing"] = std::numeric_limits<double>::quiet_NaN();
  object["none"] = Json::array();
  object["empty"] = Json::object();
  object["on"] = true;

  EXPECT_EQ(cli::JsonText(object),
            "{\n"
            "    \"80\": {\n"
            "        \"caption\": \"Petrol \\\"BA\\\"\\n\",\n"
            "        \"unit\": \"\xc2\xb0"
            "C\",\n"
            "        \"value\": 0\n"
            "    },\n"
            "    \"100\": {\n"
            "        \"caption\": \"Serial number\",\n"
            "        \"unit\": \"\",\n"
            "        \"value\": 65535\n"
            "    },\n"
            "    \"broken\": \"a\xef\xbf\xbd"
            "b\",\n"
            "    \"config_name\": null,\n"
            "    \"empty\": {},\n"
            "    \"factors\": [\n"
            "        2.2,\n"
            "        1.12,\n"
            "        0.30000000000000004,\n"
            "        -1.5\n"
            "    ],\n"
            "    \"missing\": null,\n"
            "    \"none\": [],\n"
            "    \"on\": true\n"
            "}\n");
}

TEST(JsonText, ReadsBackToTheSameValues) {
  using cli::Json;
  const Json object = {{"left", cli::JsonNumber(2.2f)}, {"sum", 0.1 + 0.2}, {"big", 4294967295u}};
  const Json back = Json::parse(cli::JsonText(object));
  EXPECT_EQ(static_cast<float>(back["left"].get<double>()), 2.2f);
  EXPECT_EQ(back["sum"].get<double>(), 0.1 + 0.2);
  EXPECT_EQ(back["big"].get<std::uint32_t>(), 4294967295u);
}

}  // namespace
}  // namespace zav
