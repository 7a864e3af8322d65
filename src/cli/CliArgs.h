#pragma once
// Helpers the subcommands share for their arguments, usage texts and loader messages.

#include <string>
#include <string_view>

#include "rxt4/data/LoadObserver.h"

namespace rxt4::cli {

// True for "--help" and "-h".
bool IsHelpArg(std::string_view arg);
// Prints the usage text on standard output; returns status 0.
int PrintHelp(const char* usage);
// Prints "rxt4 COMMAND: MESSAGE", a blank line and the usage text on standard error;
// returns status 2.
int UsageError(const char* command, std::string_view message, const char* usage);
// message between single quotes after what: "what 'message'".
std::string Quoted(std::string_view what, std::string_view message);

// Writes the loader's messages to standard error, one line each (line breaks as "\n").
class StderrLoadObserver : public LoadObserver {
 public:
  void FileError(const std::string& message) override;
  void CountWarning(const std::string& message) override;
};

}  // namespace rxt4::cli
