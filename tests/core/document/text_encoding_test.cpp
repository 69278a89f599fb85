#include <gtest/gtest.h>

#include "model/cp1251.h"

namespace tracemont {
namespace {

TEST(Cp1251, MapsCyrillicAndPunctuationBothWays) {
  struct Case {
    std::string bytes;
    std::string utf8;
  };
  const Case cases[] = {
      {"Param X", "Param X"},
      {"\xD2\xEE\xF7\xEA\xE0", "Точка"},
      {"\xA8\xB8", "Ёё"},
      {"\x88\xB9\x96\x85", "€№–…"},
      {"\xA5\xB4\xAA\xBA\xAF\xBF\xB2\xB3", "ҐґЄєЇїІі"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp1251ToUtf8(c.bytes), c.utf8);
    EXPECT_EQ(Utf8ToCp1251(c.utf8), c.bytes);
  }
}

TEST(Cp1251, KeepsTheUndefinedByteAndEveryByteRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xC2\x98");
}

TEST(Cp1251, RefusesCharactersItCannotHoldAndBrokenUtf8) {
  for (const std::string text : {"日本", "x\xF0\x9F\x98\x80", "\xC3", "\xE0\x80\x80", "\xED\xA0\x80"})
    EXPECT_FALSE(Utf8ToCp1251(text)) << text;
}

TEST(Utf16, RoundTripsSupplementaryCharactersAndReplacesLoneSurrogates) {
  const std::string text = "a日\xF0\x9F\x98\x80";
  const std::u16string units = Utf8ToUtf16(text);
  EXPECT_EQ(units, (std::u16string{u'a', u'日', 0xD83D, 0xDE00}));
  EXPECT_EQ(Utf16ToUtf8(units), text);
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'b'}), "\xEF\xBF\xBD" "b");
  EXPECT_EQ(Utf8ToUtf16("\xFF"), std::u16string{0xFFFD});
}

TEST(Utf8Helpers, CountAndCutWholeCharacters) {
  EXPECT_EQ(Utf8Length("Ёж1"), 3u);
  EXPECT_EQ(Utf8Prefix("Ёжик", 2), "Ёж");
  EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
  EXPECT_EQ(Utf8Characters("aЖ\xFF"), (std::vector<std::string>{"a", "Ж", "\xFF"}));
}

}  // namespace
}  // namespace tracemont
