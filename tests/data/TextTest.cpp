#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../common/JapaneseText.h"
#include "rxt4/data/FileTexts.h"
#include "rxt4/data/MeasurementRow.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {
namespace {

using test::HoldsJapanese;

TEST(Sjis, DecodesFullAndHalfWidthAndReplacesInvalidBytes) {
  // "レベル" in CP932, then half-width katakana "ｱ" (0xB1), then ASCII.
  EXPECT_EQ(DecodeSjis("\x83\x8C\x83\x78\x83\x8B\xB1" "A"), "レベルｱA");
  // A lone lead byte at the end and an undefined byte decode to U+FFFD each.
  EXPECT_EQ(DecodeSjis("A\xA0" "B\x83"), "A\uFFFD" "B\uFFFD");
  EXPECT_EQ(DecodeSjis(""), "");
}

TEST(Sjis, EncodesAndMeasuresCells) {
  EXPECT_EQ(EncodeSjis("補正"), "\x95\xE2\x90\xB3");
  EXPECT_EQ(Utf8CellWidth("ｺﾝﾊﾞｰﾀｰ"), 7);
  EXPECT_EQ(Utf8CellWidth("dBμV"), 5);
  EXPECT_EQ(Utf8CellWidth("BSパススルー"), 12);
  EXPECT_EQ(SjisCharLength("\x83\x8C" "A", 0), 2u);
  EXPECT_EQ(SjisCharLength("\x83\x8C" "A", 2), 1u);
  EXPECT_EQ(SjisCharLength("\x83", 0), 1u);  // a lead byte without trail byte
  EXPECT_EQ(DecodeSjisChar("\x81\x40"), U'\u3000');
  EXPECT_EQ(DecodeSjisChar("\xB1"), U'ｱ');
}

// The placeholder numbers of a text, sorted, each once ("12" for "%2 ... %1 ... %2").
std::string Placeholders(std::string_view text) {
  std::string found;
  for (std::size_t i = text.find('%'); i != std::string_view::npos && i + 1 < text.size(); i = text.find('%', i + 1))
    if (text[i + 1] >= '1' && text[i + 1] <= '9') found += text[i + 1];
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

TEST(StringTable, HoldsTextsInBothLanguagesAndTheirShiftJisBytes) {
  EXPECT_EQ(Text(StringId::AppCaption, Language::Japanese), "RXT4 ビューア");
  EXPECT_EQ(Text(StringId::AppCaption, Language::English), "RXT4 Viewer");
  // The instrument's words read in Japanese in either language; SjisText is Japanese.
  EXPECT_EQ(Text(StringId::ConverterLabel, Language::English), "ｺﾝﾊﾞｰﾀｰ");
  EXPECT_EQ(SjisText(StringId::ConverterLabel), "\xBA\xDD\xCA\xDE\xB0\xC0\xB0");
  EXPECT_EQ(ColumnTitle(0), "No.");
  EXPECT_EQ(ColumnTitle(29), "補正値２");
  EXPECT_EQ(ColumnTitle(30), "");
  EXPECT_EQ(Text(static_cast<StringId>(1)), "");
}

// Every text a user reads has its English, in English only, with the placeholders of
// its Japanese (a translation may reorder them, never drop or add one); no text is a
// printf format. The instrument's own words have no English; "日本語" is itself in both.
TEST(StringTable, EveryUserTextHasEnglishWithTheSamePlaceholders) {
  for (StringId id : AllStringIds()) {
    SCOPED_TRACE(static_cast<int>(id));
    const std::string_view ja = Text(id, Language::Japanese), en = Text(id, Language::English);
    EXPECT_FALSE(ja.empty());
    EXPECT_EQ(ja.find("%s"), std::string_view::npos);
    EXPECT_EQ(ja.find("%d"), std::string_view::npos);
    if (IsInstrumentWord(id)) {
      EXPECT_FALSE(HasEnglish(id));
      continue;
    }
    ASSERT_TRUE(HasEnglish(id)) << ja;
    // The language menu names each language in itself, in both languages.
    if (id != StringId::LanguageJapanese) {
      EXPECT_FALSE(HoldsJapanese(en)) << en;
    }
    EXPECT_EQ(Placeholders(en), Placeholders(ja)) << en;
    EXPECT_EQ(en.find("%s"), std::string_view::npos);
  }
}

TEST(FillIn, PutsEachValueAtItsNumberAndNeverReadsValues) {
  struct Case {
    std::string_view text;
    std::vector<std::string_view> values;
    std::string_view filled;
  } const cases[] = {
      {"Ver.%1 から Ver.%2 に", {"1.02", "1.03"}, "Ver.1.02 から Ver.1.03 に"},
      {"Updated to %2 from %1", {"1.02", "1.03"}, "Updated to 1.03 from 1.02"},  // reordered
      {"[%1] (%1)", {"x"}, "[x] (x)"},                                           // repeated
      {"%1 %2", {"%2", "%1"}, "%2 %1"},                                          // a value's "%N" stays
      {"%1%2%3%4%5%6%7%8%9", {"a", "b", "c", "d", "e", "f", "g", "h", "i"}, "abcdefghi"},
      {"%1: %2", {"/dev/ttyACM0"}, "/dev/ttyACM0: %2"},  // no value: the placeholder stays
      {"100% %s %0 %", {"v"}, "100% %s %0 %"},           // no placeholder: left alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    EXPECT_EQ(FillIn(c.text, c.values), c.filled);
    std::string out = "<";
    FillInto(out, c.text, c.values);
    EXPECT_EQ(out, "<" + std::string(c.filled));
  }
}

TEST(TextRules, NameOrderReadsDigitRunsAsNumbers) {
  // Each name comes before the next.
  const char* const ordered[] = {"",      "0",      "00",          "2",   "02a", "10",    "0412", "412",
                                 "999999999999999999999",  "1000000000000000000000", "A",   "a",   "a1",  "a2",
                                 "A10",   "b",      "S",           "S1",  "s2",  "S10",   "\x83\x41", "\xE3\x81\x82"};
  for (std::size_t i = 0; i + 1 < std::size(ordered); ++i) {
    SCOPED_TRACE(ordered[i]);
    EXPECT_TRUE(NameOrderLess(ordered[i], ordered[i + 1]));
    EXPECT_FALSE(NameOrderLess(ordered[i + 1], ordered[i]));
  }
  EXPECT_FALSE(NameOrderLess("S1", "S1"));
}

TEST(TextRules, ReadNumbersLeniently) {
  EXPECT_EQ(ParseInt("  -42abc"), -42);
  EXPECT_EQ(ParseInt("+7"), 7);
  EXPECT_EQ(ParseInt("abc"), 0);
  EXPECT_EQ(ParseInt(""), 0);
  // Digits beyond the range stop adding once the value nears it (no overflow).
  EXPECT_EQ(ParseInt("99999999999999999999999"), 999999999999999999LL);
  EXPECT_EQ(ParseInt("-99999999999999999999999"), -999999999999999999LL);
  EXPECT_DOUBLE_EQ(ParseReal(" 68.24dB"), 68.24);
  EXPECT_DOUBLE_EQ(ParseReal("-3.5e1x"), -35.0);
  EXPECT_DOUBLE_EQ(ParseReal("1e"), 1.0);
  EXPECT_DOUBLE_EQ(ParseReal(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ParseReal("---.-"), 0.0);
  EXPECT_DOUBLE_EQ(ParseReal("inf"), 0.0);
  EXPECT_EQ(Trim("  BS \r\n"), "BS");
  EXPECT_EQ(TrimRight("OFF "), "OFF");
}

TEST(MeasurementRow, SplitsFieldsLikeTheTableReader) {
  MeasurementRow row = MeasurementRow::FromFields({"001", "name", "", "ch\r"});
  EXPECT_EQ(row.Field(0), "001");
  EXPECT_EQ(row.Field(2), "");
  EXPECT_EQ(row.Field(3), "ch\r");  // a carriage return stays in the last field
  EXPECT_EQ(row.Field(4), "");      // missing trailing fields are empty
  EXPECT_EQ(row.Field(30), "");
  EXPECT_EQ(row.Field(-1), "");
  EXPECT_FALSE(row.absent());
  EXPECT_TRUE(MeasurementRow().absent());

  std::vector<std::string> many(35, "x");
  many[29] = "last";
  EXPECT_EQ(MeasurementRow::FromFields(many).Field(29), "last");
}

}  // namespace
}  // namespace rxt4
