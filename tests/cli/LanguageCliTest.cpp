// The language rxt4 speaks: English only when its locale is English, Japanese
// otherwise, C and POSIX included.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "../common/JapaneseText.h"
#include "../common/RunRxt4.h"

namespace {

namespace fs = std::filesystem;
using rxt4::test::HoldsJapanese;
using rxt4::test::Outcome;
using rxt4::test::RunRxt4;

TEST(LanguageCli, FailuresSpeakTheLocalesLanguage) {
  const rxt4::test::TempFolder folder("language");
  const fs::path dir = folder.path();
  // The locale variables, each run starting from none of them set.
  struct Locale {
    const char* env;
    bool english;
  } const locales[] = {
      {"LANG=en_US.UTF-8", true},
      {"LC_MESSAGES=en_GB LANG=ja_JP.UTF-8", true},
      {"LANG=C", false},
      {"LANG=POSIX", false},
      {"", false},
      {"LC_ALL=ja_JP.UTF-8 LANG=en_US.UTF-8", false},
      {"LC_ALL= LANG=en_US.UTF-8", true},  // an empty variable is passed over
      {"LANG=english", false},
  };
  const char* const commands[] = {"no-such-command", "list no_such_folder", "list", "export D --bogus",
                                  "check no_such_folder", "report no_such_folder --out r.pdf"};
  for (const Locale& locale : locales) {
    for (const char* command : commands) {
      SCOPED_TRACE(std::string(locale.env) + " rxt4 " + command);
      const Outcome run = RunRxt4(dir, command, std::string("env -u LC_ALL -u LC_MESSAGES -u LANG ") + locale.env + " ");
      EXPECT_EQ(run.status, 2);
      // The message: the first line (a usage text may follow).
      const std::string message = run.err.substr(0, run.err.find('\n'));
      ASSERT_FALSE(message.empty());
      EXPECT_EQ(HoldsJapanese(message), !locale.english) << message;
    }
  }
}

}  // namespace
