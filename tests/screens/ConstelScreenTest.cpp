#include <gtest/gtest.h>

#include "GraphTestHelpers.h"
#include "rxt4/screens/ConstelScreen.h"

namespace rxt4 {
namespace {

using test::AllWhite;
using test::CodeAt;
using test::CountBlack;
using test::Row;
using test::ScratchFolder;
using test::TextAt;

std::shared_ptr<const FontSet> Fonts() {
  static const std::shared_ptr<const FontSet> fonts = FontSet::CreatePattern();
  return fonts;
}

MeasurementRow ConstelRow(const std::string& mer, const std::string& band = "UHF", const std::string& no = "0001") {
  return Row({{0, no}, {1, "64QAM B"}, {2, band}, {3, "13"}, {8, "64QAM"}, {13, "B"}, {14, "30"}, {20, "0"}, {22, mer}});
}

// The diagram area x 120..319, y 26..218.
int DiagramInk(const Surface& dc) { return CountBlack(dc, 120, 26, 320, 219); }

TEST(ConstelScreen, MerTextsAndLimitFlags) {
  CConstelScreen s(Fonts());
  const struct {
    const char* stored;
    const char* text;
    int flag;
  } cases[] = {{"5", " 5.0", 1},   {"5.1", " 5.1", 0},  {"29.96", "30.0", 0}, {"30", "30.0", 2},
               {"12.34", "12.3", 0}, {"-3", " 5.0", 1}, {"abc", " 5.0", 1},  {"---.-", "--.-", 0},
               {"___._", "__._", 0}, {"~~~.~", " ~~.~", 0}, {" 27.3", "27.3", 0}};
  for (const auto& c : cases) {
    s.SetData(ConstelRow(c.stored), "");
    EXPECT_EQ(s.merText, c.text) << c.stored;
    EXPECT_EQ(s.merFlag, c.flag) << c.stored;
  }
}

TEST(ConstelScreen, MerFieldPixels) {
  CConstelScreen s(Fonts());
  Surface dc;
  s.SetData(ConstelRow("5"), "");
  s.Draw(dc);
  EXPECT_TRUE(TextAt(dc, 3, 154, test::kCell4, " 5.0"));
  // "以下" white on black in the box (79, 155)-(108, 170).
  EXPECT_TRUE(dc.IsBlack(79, 155));
  EXPECT_TRUE(test::InvertedGlyphAt(dc, 80, 156, test::kCell3, 2));
  Surface back = dc;
  back.InvertRect(79, 155, 108, 170);
  EXPECT_EQ(CodeAt(back, 94, 156, 14), 0x4E0Bu & 0x3FFFu);  // 下

  s.SetData(ConstelRow("30"), "");
  s.Draw(dc);
  back = dc;
  back.InvertRect(79, 155, 108, 170);
  EXPECT_EQ(CodeAt(back, 94, 156, 14), 0x4E0Au & 0x3FFFu);  // 上

  s.SetData(ConstelRow("29.96"), "");
  s.Draw(dc);
  EXPECT_TRUE(TextAt(dc, 3, 154, test::kCell4, "30.0"));
  EXPECT_TRUE(AllWhite(dc, 79, 155, 108, 170));

  // Below range: low dashes 16 pixels under the value line, the point at x 39.
  s.SetData(ConstelRow("___._"), "");
  s.Draw(dc);
  // ("." is drawn last in an opaque cell over the blank of "-- -".)
  EXPECT_TRUE(TextAt(dc, 3, 170, test::kCell4, "--"));
  EXPECT_TRUE(TextAt(dc, 57, 170, test::kCell4, "-"));
  EXPECT_TRUE(TextAt(dc, 39, 154, test::kCell4, "."));
  EXPECT_TRUE(AllWhite(dc, 3, 154, 39, 170));
}

TEST(ConstelScreen, BandNameFontByLength) {
  CConstelScreen s(Fonts());
  Surface dc;
  s.SetData(ConstelRow("20", "ABCDEFGH"), "");
  s.Draw(dc);
  EXPECT_TRUE(TextAt(dc, 3, 50, test::kCell0, "ABCDEFGH"));
  s.SetData(ConstelRow("20", "  ABCDEFGH  "), "");  // blanks around are not counted
  s.Draw(dc);
  EXPECT_TRUE(TextAt(dc, 3, 50, test::kCell0, "ABCDEFGH"));
  s.SetData(ConstelRow("20", "ABCDEFGHI"), "");
  s.Draw(dc);
  EXPECT_TRUE(TextAt(dc, 3, 50, test::kCell1, "ABCDEFGHI"));
  s.SetData(ConstelRow("20", "BSパススルー"), "");
  s.Draw(dc);
  EXPECT_TRUE(TextAt(dc, 3, 50, test::kCell2, "BS"));
}

TEST(ConstelScreen, FieldsAndTitles) {
  CConstelScreen s(Fonts());
  EXPECT_EQ(s.layerText, "_");
  s.SetData(ConstelRow("20"), "");
  EXPECT_EQ(s.ShowKindName(), "地上デジタル");
  EXPECT_EQ(s.ShowDataName(), "64QAM B");
  Surface dc;
  s.Draw(dc);
  EXPECT_TRUE(TextAt(dc, 8, 102, test::kCell0, "13"));
  EXPECT_TRUE(TextAt(dc, 80, 102, test::kCell0, "B"));
  EXPECT_TRUE(TextAt(dc, 90, 225, test::kCell3, "64QAM"));  // centred modulation
  EXPECT_TRUE(dc.IsBlack(1, 26));                             // "バンド名" box inverted
  EXPECT_TRUE(dc.IsBlack(156, 239));                          // terrestrial footer

  for (const auto& [type, name] : {std::pair{"1", "ワンセグ"}, {"7", "ＶＵ・ＣＡＴＶ"}}) {
    s.SetData(Row({{20, type}}), "");
    EXPECT_EQ(s.ShowKindName(), name);
  }
  // A screen type it does not draw: a cleared area and a blank title.
  s.SetData(Row({{20, "2"}, {2, "BS"}}), "");
  EXPECT_EQ(s.ShowKindName(), " ");
  dc.Fill(kBlack);
  s.Draw(dc);
  EXPECT_TRUE(AllWhite(dc, 1, 1, 320, 239));
  // An absent row keeps everything but the band class.
  s.SetData(MeasurementRow(), "");
  EXPECT_EQ(s.bandClass, 0);
  EXPECT_EQ(s.screenType, 2);
}

TEST(ConstelScreen, DiagramBitMapping) {
  ScratchFolder folder;
  std::string image(4825, '\0');
  image[0] = static_cast<char>(0x80);
  folder.Write("F.001", image);
  CConstelScreen s(Fonts());
  s.SetData(ConstelRow("20", "UHF", "0001"), folder.Base());
  Surface dc;
  s.Draw(dc);
  EXPECT_TRUE(dc.IsBlack(120, 218));
  EXPECT_EQ(DiagramInk(dc), 1);

  // The last bit of the last row is the top right corner; bit 0x40 of byte 1 is x 129.
  image[0] = 0;
  image[4824] = 0x01;
  image[25 * 100 + 1] = 0x40;
  folder.Write("F.001", image);
  s.Draw(dc);  // the file is read anew on every draw
  EXPECT_TRUE(dc.IsBlack(319, 26));
  EXPECT_TRUE(dc.IsBlack(129, 118));
  EXPECT_EQ(DiagramInk(dc), 2);
}

TEST(ConstelScreen, ShortLongAndMissingDiagramFiles) {
  ScratchFolder folder;
  CConstelScreen s(Fonts());
  Surface dc;
  // Two complete rows and part of a third: only the complete rows.
  folder.Write("F.002", std::string(25 * 2 + 10, static_cast<char>(0xFF)));
  s.SetData(ConstelRow("20", "UHF", "0002"), folder.Base());
  s.Draw(dc);
  EXPECT_EQ(CountBlack(dc, 120, 217, 320, 219), 400);
  EXPECT_EQ(DiagramInk(dc), 400);
  // Bytes after the 193rd row are not drawn.
  folder.Write("F.003", std::string(4825, '\0') + std::string(200, static_cast<char>(0xFF)));
  s.SetData(ConstelRow("20", "UHF", "0003"), folder.Base());
  s.Draw(dc);
  EXPECT_EQ(DiagramInk(dc), 0);
  // Missing, or a folder of that name: the fields are drawn, the diagram stays white.
  s.SetData(ConstelRow("20", "UHF", "0009"), folder.Base());
  s.Draw(dc);
  EXPECT_EQ(DiagramInk(dc), 0);
  EXPECT_TRUE(TextAt(dc, 8, 102, test::kCell0, "13"));
  std::filesystem::create_directories(folder.path() / "F.004");
  s.SetData(ConstelRow("20", "UHF", "0004"), folder.Base());
  s.Draw(dc);
  EXPECT_EQ(DiagramInk(dc), 0);
}

TEST(ConstelScreen, CompanionNamesFromColumnZero) {
  ScratchFolder folder;
  std::string image(4825, '\0');
  image[0] = static_cast<char>(0x80);
  folder.Write("F.12", image);   // a column 0 shorter than three characters is taken whole
  image[0] = 0x40;
  folder.Write("f.007", image);  // found whatever its letter case
  CConstelScreen s(Fonts());
  Surface dc;
  s.SetData(ConstelRow("20", "UHF", "12"), folder.Base());
  s.Draw(dc);
  EXPECT_TRUE(dc.IsBlack(120, 218));
  s.SetData(ConstelRow("20", "UHF", "0007"), folder.Base());
  s.Draw(dc);
  EXPECT_TRUE(dc.IsBlack(121, 218));
  EXPECT_EQ(DiagramInk(dc), 1);
}

}  // namespace
}  // namespace rxt4
