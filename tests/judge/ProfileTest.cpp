// Limits profiles: what a file that is refused says (file, line, reason), and where a
// profile chosen by name or by file is found.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../common/TempFolder.h"
#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/ProfileCatalog.h"

namespace {

using namespace rxt4;
using rxt4::test::TempFolder;

TEST(Profile, RefusedWithFileLineAndReason) {
  struct Case {
    const char* text;
    int line;
    const char* reason;
  };
  const Case cases[] = {
      {"name = \"x\"\n[terrestrial]\nlevel_min_dbuv = \n", 3, "TOML として読めません: "},
      {"[bs]\nlevel_min_dbuv = 48\n[bs]\n", 3, "TOML として読めません: "},
      {"# a profile\n[terestrial]\nlevel_min_dbuv = 50\n", 2,
       "[terestrial] という区分はありません（使えるのは terrestrial, oneseg, bs, cs110, other_cs, cable）"},
      {"[analogue]\nlevel_min_dbuv = 50\n", 1, "[analogue] という区分はありません"},
      {"[terrestrial]\nlevel_min = 50\n", 2,
       "「level_min」という項目はありません（使えるのは level_min_dbuv, level_max_dbuv, cn_min_db, mer_min_db, "
       "ber_max, margin_db）"},
      {"level_min_dbuv = 50\n", 1, "「level_min_dbuv」という項目はありません（使えるのは name, description）"},
      {"[bs]\ncn_min_db = \"11\"\n", 2, "「cn_min_db」は数値で書いてください"},
      {"[bs]\ncn_min_db = inf\n", 2, "「cn_min_db」の値 inf は使えません: 有限の数値にしてください"},
      {"[bs]\nmargin_db = -0.5\n", 2, "「margin_db」の値 -0.5 は使えません: 0 以上にしてください"},
      {"[cable]\nber_max = 0\n", 2, "「ber_max」の値 0 は使えません: 0 より大きく 1 以下にしてください"},
      {"[cable]\nber_max = 1.5\n", 2, "「ber_max」の値 1.5 は使えません"},
      {"\n[terrestrial]\nlevel_min_dbuv = 90\nlevel_max_dbuv = 81\n", 2,
       "level_min_dbuv が level_max_dbuv より大きくなっています"},
      {"name = 5\n", 1, "「name」は文字列で書いてください"},
      {"[[bs]]\ncn_min_db = 11\n", 1, "[bs] は表"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LimitsProfile profile;
    ProfileError ok;
    ASSERT_TRUE(LimitsProfile::Parse("name = \"before\"\n", "kept.toml", profile, ok));
    ProfileError error;
    EXPECT_FALSE(LimitsProfile::Parse(c.text, "/p/mine.toml", profile, error));
    EXPECT_EQ(error.file, "/p/mine.toml");
    EXPECT_EQ(error.line, c.line);
    EXPECT_EQ(error.reason.rfind(c.reason, 0), 0u) << error.reason;
    EXPECT_EQ(error.Text().rfind("/p/mine.toml:" + std::to_string(c.line) + ": " + c.reason, 0), 0u);
    // Nothing of a refused text is kept.
    EXPECT_EQ(profile.name(), "before");
  }
}

TEST(Profile, ReadWithItsNameOrTheFileStem) {
  LimitsProfile profile;
  ProfileError error;
  ASSERT_TRUE(LimitsProfile::Parse("name = \"自分用\"\ndescription = \"d\"\n[terrestrial]\nlevel_min_dbuv = 47\n"
                                   "margin_db = 2.5\n[cable]\nber_max = 1e-4\n",
                                   "/p/mine.toml", profile, error));
  EXPECT_EQ(profile.name(), "自分用");
  EXPECT_EQ(profile.description(), "d");
  EXPECT_EQ(profile.Limits(ServiceClass::Terrestrial).levelMin, 47.0);
  EXPECT_FALSE(profile.Limits(ServiceClass::Terrestrial).levelMax);
  EXPECT_EQ(profile.Limits(ServiceClass::Terrestrial).marginDb, 2.5);
  EXPECT_EQ(profile.Limits(ServiceClass::Cable).berMax, 1e-4);
  EXPECT_TRUE(profile.Limits(ServiceClass::Bs).empty());
  EXPECT_TRUE(profile.Limits(ServiceClass::Analogue).empty());
  ASSERT_TRUE(LimitsProfile::Parse("[bs]\ncn_min_db = 11\n", "/p/plain.toml", profile, error));
  EXPECT_EQ(profile.name(), "plain");

  EXPECT_FALSE(LimitsProfile::Load("/no/such/profile.toml", profile, error));
  EXPECT_EQ(error.line, 0);
  EXPECT_EQ(error.Text(), "ファイルまたはフォルダがありません: /no/such/profile.toml");
}

TEST(Profile, FoundInTheUserFolderFirstByStemThenByName) {
  TempFolder root;
  const auto user = root.path() / "user";
  const auto installed = root.path() / "installed";
  root.Put("installed/outlet.toml", "name = \"テレビ端子\"\n[terrestrial]\nlevel_min_dbuv = 50\n");
  root.Put("installed/other.toml", "name = \"他\"\n");
  root.Put("user/mine.toml", "name = \"テレビ端子\"\n[terrestrial]\nlevel_min_dbuv = 47\n");
  root.Put("user/broken.toml", "name = \"壊れた\"\n[bs\n");
  root.Put("user/notes.txt", "name = \"x\"\n");
  root.Put("user/company.toml", "name = \"株式会社 例\"\nphone = \"03-0000-0000\"\n");  // the company record, no profile
  const ProfileCatalog catalog({user, installed});

  LimitsProfile profile;
  ProfileError error;
  std::vector<ProfileError> skipped;
  ASSERT_TRUE(catalog.Find("テレビ端子", profile, error, &skipped));
  EXPECT_EQ(profile.file(), user / "mine.toml");
  ASSERT_EQ(skipped.size(), 1u);
  EXPECT_EQ(skipped[0].file, user / "broken.toml");
  EXPECT_EQ(skipped[0].line, 2);

  ASSERT_TRUE(catalog.Find("outlet", profile, error));
  EXPECT_EQ(profile.file(), installed / "outlet.toml");
  ASSERT_TRUE(catalog.Find("他", profile, error));
  EXPECT_EQ(profile.file(), installed / "other.toml");
  ASSERT_TRUE(catalog.Find((installed / "other.toml").string(), profile, error));
  EXPECT_EQ(profile.name(), "他");

  // A file chosen by its stem or its path is read, and refused when it does not parse.
  EXPECT_FALSE(catalog.Find("broken", profile, error));
  EXPECT_EQ(error.file, user / "broken.toml");
  EXPECT_EQ(error.line, 2);
  EXPECT_FALSE(catalog.Find("nothing.toml", profile, error));
  EXPECT_EQ(error.line, 0);

  EXPECT_FALSE(catalog.Find("nothing", profile, error));
  EXPECT_TRUE(error.file.empty());
  EXPECT_EQ(error.reason, "判定基準「nothing」が見つかりません（探した場所: " + user.string() + ", " +
                              installed.string() + "）");

  const std::vector<ProfileEntry> list = catalog.List();
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].file, user / "broken.toml");
  EXPECT_TRUE(list[0].name.empty());
  EXPECT_EQ(list[0].error.line, 2);
  EXPECT_TRUE(list[0].user);
  EXPECT_EQ(list[1].name, "テレビ端子");
  EXPECT_EQ(list[2].name, "他");
  EXPECT_FALSE(list[2].user);
  EXPECT_EQ(list[3].file, installed / "outlet.toml");
}

// The programs find the shipped profiles beside them: installed under
// share/rxt4-viewer/limits, and laid out the same way in the build tree.
TEST(Profile, ShippedProfilesAreFoundBesideTheProgram) {
  TempFolder settings;
  const ProfileCatalog catalog = ProfileCatalog::Standard(settings.path());
  LimitsProfile profile;
  ProfileError error;
  ASSERT_TRUE(catalog.Find(kDefaultProfileName, profile, error)) << error.Text();
  EXPECT_EQ(profile.file(), InstalledLimitsFolder() / "outlet.toml");
  ASSERT_TRUE(catalog.Find("受信機入力 最低値", profile, error)) << error.Text();
  EXPECT_EQ(profile.file().filename(), "receiver-minimum.toml");
}

}  // namespace
