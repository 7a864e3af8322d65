#pragma once
// The language a program started from a terminal speaks there: English when the first
// set, non-empty one of LC_ALL, LC_MESSAGES and LANG names an English locale ("en",
// "en_GB.UTF-8", ...); Japanese otherwise, "C" and "POSIX" included, so that scripts
// reading today's Japanese texts keep working. rxt4 speaks it throughout; the viewer
// answers --help in it (its windows follow its own setting).

#include "rxt4/data/Strings.h"

namespace rxt4 {

Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);
// The same from this process's environment.
Language LanguageOfEnvironment();

}  // namespace rxt4
