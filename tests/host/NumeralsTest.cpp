#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "Numerals.h"

using namespace host;

TEST(Numerals, HexDigitValueOfEitherCase) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('a'), 10);
  EXPECT_EQ(HexDigitValue('F'), 15);
  EXPECT_EQ(HexDigitValue('g'), -1);
  EXPECT_EQ(HexDigitValue('$'), -1);
}

// The first fault from the left decides; the signed value fits 64 bits or is absent.
TEST(Numerals, IntegerLiteralsAtTheirLimits) {
  using S = IntegerLiteral::Status;
  const struct {
    const char* text;
    S state;
    std::optional<std::int64_t> value;
  } cases[] = {
      {"0", S::Ok, 0},
      {"+42", S::Ok, 42},
      {"-$1f", S::Ok, -31},
      {"9223372036854775807", S::Ok, LLONG_MAX},
      {"9223372036854775808", S::Ok, std::nullopt},
      {"-9223372036854775808", S::Ok, LLONG_MIN},
      {"-$8000000000000000", S::Ok, LLONG_MIN},
      {"$FFFFFFFFFFFFFFFF", S::Ok, std::nullopt},  // a bit pattern only its caller may take
      {"18446744073709551616", S::TooLarge, std::nullopt},
      {"99999999999999999999x", S::TooLarge, std::nullopt},
      {"", S::Malformed, std::nullopt},
      {"-$", S::Malformed, std::nullopt},
      {"12a", S::Malformed, std::nullopt},
      {"x99999999999999999999", S::Malformed, std::nullopt},
  };
  for (const auto& c : cases) {
    const IntegerLiteral literal = ReadIntegerLiteral(c.text);
    EXPECT_EQ(literal.State, c.state) << c.text;
    EXPECT_EQ(literal.Signed(), c.value) << c.text;
  }
  EXPECT_EQ(ReadIntegerLiteral("$FFFFFFFFFFFFFFFF").Magnitude, UINT64_MAX);
}
