#pragma once
// Files that must never hang or exhaust a reader: a named pipe without a writer (an
// open that waits would block for ever), a link to /dev/zero (a read that goes on
// until the end never ends) and a sparse file of 5 GB (no disk used; read whole, it
// would take gigabytes of memory). A reader that looks at one of them at all must end
// at once, so a hang shows as the test's time-out.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "rxt4/data/Strings.h"

namespace rxt4::test {

enum class Hostile { Fifo, ZeroLink, Sparse };

inline constexpr Hostile kHostileFiles[] = {Hostile::Fifo, Hostile::ZeroLink, Hostile::Sparse};

inline const char* HostileName(Hostile kind) {
  switch (kind) {
    case Hostile::Fifo: return "fifo";
    case Hostile::ZeroLink: return "link to /dev/zero";
    case Hostile::Sparse: return "5 GB sparse file";
  }
  return "?";
}

// The reason a reader gives for refusing the file, as the platform words it.
inline std::string HostileReason(Hostile kind) {
  return std::string(Text(kind == Hostile::Sparse ? StringId::ErrnoTooLarge : StringId::NotRegularFile));
}

// Puts a hostile file at path (replacing what is there, creating its folders).
inline const std::filesystem::path& MakeHostile(Hostile kind, const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  std::filesystem::remove(path);
  switch (kind) {
    case Hostile::Fifo:
      ::mkfifo(path.c_str(), 0600);
      break;
    case Hostile::ZeroLink:
      std::filesystem::create_symlink("/dev/zero", path);
      break;
    case Hostile::Sparse:
      std::ofstream(path, std::ios::binary).put('2');
      std::filesystem::resize_file(path, 5'000'000'000ull);
      break;
  }
  return path;
}

}  // namespace rxt4::test
