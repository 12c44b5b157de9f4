#include <gtest/gtest.h>

#include "cli/cli_args.h"

TEST(CliNumbers, TakeDigitsInRangeAndRefuseOverflowAndTrailingGarbage) {
  struct Case {
    const char* text;
    std::optional<int> whole;       // WholeNumber(text, 0, 100000)
    std::optional<double> decimal;  // DecimalNumber(text, 0.5, 12)
  };
  const Case cases[] = {
      {"7", 7, 7.0},
      {"100000", 100000, std::nullopt},
      {"100001", std::nullopt, std::nullopt},
      {"2.5", std::nullopt, 2.5},
      {".5", std::nullopt, 0.5},
      {"12.0001", std::nullopt, std::nullopt},
      {"4294967303", std::nullopt, std::nullopt},  // 2^32 + 7 must not wrap to 7
      {"3x", std::nullopt, std::nullopt},
      {"3 ", std::nullopt, std::nullopt},
      {"+3", std::nullopt, std::nullopt},
      {"1e1", std::nullopt, std::nullopt},
      {"1.2.3", std::nullopt, std::nullopt},
      {"nan", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WholeNumber(c.text, 0, 100000), c.whole) << '"' << c.text << '"';
    EXPECT_EQ(DecimalNumber(c.text, 0.5, 12), c.decimal) << '"' << c.text << '"';
  }
}
