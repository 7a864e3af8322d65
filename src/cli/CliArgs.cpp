#include "CliArgs.h"

#include <cstdio>

namespace rxt4::cli {
namespace {

void PrintLine(const std::string& message) {
  std::string line;
  for (char c : message) {
    if (c == '\n') line += "\\n";
    else if (c != '\r') line += c;
  }
  std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

bool IsHelpArg(std::string_view arg) { return arg == "--help" || arg == "-h"; }

int PrintHelp(const char* usage) {
  std::fputs(usage, stdout);
  return 0;
}

int UsageError(const char* command, std::string_view message, const char* usage) {
  std::fprintf(stderr, "rxt4 %s: %.*s\n\n%s", command, static_cast<int>(message.size()), message.data(), usage);
  return 2;
}

std::string Quoted(std::string_view what, std::string_view message) {
  std::string text(what);
  text += " '";
  text += message;
  text += '\'';
  return text;
}

void StderrLoadObserver::FileError(const std::string& message) { PrintLine(message); }

void StderrLoadObserver::CountWarning(const std::string& message) { PrintLine(message); }

}  // namespace rxt4::cli
