#include "rxt4/data/CountFile.h"

#include "FileBytes.h"

namespace rxt4 {

int CountFile::Read(const std::filesystem::path& path) {
  readFailed_ = false;
  std::string bytes;
  FileStatus status = ReadFileBytes(path, bytes, errorMessage_);
  if (status == FileStatus::OpenFailed) return -1;
  Parse(bytes);
  if (status == FileStatus::ReadFailed) {
    readFailed_ = true;
    return -1;
  }
  return 0;
}

void CountFile::Parse(std::string_view bytes) {
  // Fields end at a comma, a line feed or the end of the file; a field is only taken
  // at the end of the file when it holds bytes, so "5\n" leaves the version as it was.
  countText_.assign(kDefaultCount);
  versionText_.assign(kDefaultVersion);
  int line = 1;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= bytes.size(); ++i) {
    bool atEnd = i == bytes.size();
    if (!atEnd && bytes[i] != ',' && bytes[i] != '\n') continue;
    if (atEnd && i == start) break;
    std::string_view field = bytes.substr(start, i - start);
    if (line == 1) countText_.assign(field);
    else if (line == 2) versionText_.assign(field);
    if (!atEnd && bytes[i] == '\n' && ++line > 2) break;  // further lines are ignored
    start = i + 1;
  }
}

}  // namespace rxt4
