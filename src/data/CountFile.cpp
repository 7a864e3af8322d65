#include "rxt4/data/CountFile.h"

#include <cstring>

#include "rxt4/data/ReadOnlyFile.h"

namespace rxt4 {

int CountFile::Read(const std::filesystem::path& path) {
  readFailed_ = false;
  std::string bytes;
  FileStatus status = ReadFileBytes(path, kMaxFileBytes, bytes, errorMessage_);
  if (status == FileStatus::OpenFailed) return -1;
  Parse(bytes);
  if (status != FileStatus::Ok) {
    readFailed_ = true;
    return -1;
  }
  return 0;
}

void CountFile::Parse(std::string_view bytes) {
  countText_.assign(kDefaultCount);
  versionText_.assign(kDefaultVersion);
  std::size_t start = 0;
  for (std::string* value : {&countText_, &versionText_}) {
    if (start >= bytes.size()) break;  // the line is missing: its value keeps its default
    const void* lf = std::memchr(bytes.data() + start, '\n', bytes.size() - start);
    const std::size_t end = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - bytes.data()) : bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    // Every field of the line replaces the value, so the last field wins; at the end
    // of the file an empty last field is no field ("5," reads as "5").
    if (!lf && line.back() == ',') line.remove_suffix(1);
    const std::size_t comma = line.rfind(',');
    value->assign(comma == std::string_view::npos ? line : line.substr(comma + 1));
    start = end + 1;
  }
}

}  // namespace rxt4
