#include "rxt4/screens/ScreenSet.h"

#include <gtest/gtest.h>

#include "PixelHelpers.h"
#include "rxt4/screens/LevelScreen.h"

namespace rxt4 {
namespace {

TEST(ScreenSet, HandsARecordToTheScreenOfItsKind) {
  ScreenSet screens(FontSet::CreatePattern());
  EXPECT_EQ(screens.Screen(DataKind::None), nullptr);
  EXPECT_NE(screens.Screen(DataKind::Level), nullptr);
  EXPECT_EQ(screens.Screen(static_cast<DataKind>(42)), nullptr);

  CDataSet record;
  record.kind = DataKind::Level;
  record.row = test::Row({{20, "0"}, {1, "A"}, {6, "50.0"}});
  CScreen* screen = screens.Select(record);
  ASSERT_EQ(screen, screens.Screen(DataKind::Level));
  EXPECT_EQ(screens.currentKind(), DataKind::Level);
  EXPECT_EQ(static_cast<CLevelScreen*>(screen)->levelText, " 50.0");
  EXPECT_EQ(screen->ShowDataName(), "A");

  // Every screen shares the one font set.
  EXPECT_EQ(screens.Screen(DataKind::Ber)->sharedFonts(), screens.fonts());

  CDataSet folder;
  EXPECT_EQ(screens.Select(folder), nullptr);
  EXPECT_EQ(screens.Current(), nullptr);
}

TEST(ScreenSet, PaintClearsAndFramesTheArea) {
  ScreenSet screens(FontSet::CreatePattern());
  Surface dc;
  dc.Fill(kBlack);
  screens.Paint(dc);
  EXPECT_TRUE(test::AllWhite(dc, 1, 1, 320, 239));
  EXPECT_EQ(test::CountBlack(dc, 0, 0, 321, 240), 2 * 321 + 2 * 238);

  CDataSet record;
  record.kind = DataKind::Sky;
  record.row = test::Row({{20, "4"}, {6, "60.0"}});
  screens.Select(record);
  Surface shown;
  screens.Paint(shown);
  EXPECT_EQ(test::CodeAt(shown, 210, 128, 7), unsigned{'6'});
  EXPECT_TRUE(shown.IsBlack(0, 0));
  EXPECT_TRUE(shown.IsBlack(320, 100));
}

}  // namespace
}  // namespace rxt4
