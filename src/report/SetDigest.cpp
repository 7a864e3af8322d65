#include "rxt4/report/SetDigest.h"

#include <openssl/evp.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <memory>
#include <system_error>
#include <vector>

#include "rxt4/data/DirectoryIndex.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/ReadOnlyFile.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {

namespace {

namespace fs = std::filesystem;

// A file of the instrument's is at most this long (a companion file is a few
// kilobytes, a measurement table some megabytes).
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 32;
// Small enough to come from the heap the allocator keeps (no fresh pages per set folder).
constexpr std::size_t kChunkBytes = 64 * 1024;

struct DigestFreer {
  void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};

struct Entry {
  std::string key;  // the path inside the set folder, ASCII letters in lower case
  fs::path path;
};

std::string Describe(const fs::path& path, const std::error_code& ec) { return path.string() + ": " + ReasonText(ec); }

// A companion file: NAME.001, NAME.002, ... (a graph of one table row).
bool IsCompanion(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.size() - dot != 4) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(dot) + 1, name.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<SetDigest> DigestSetFolder(const fs::path& setFolder, std::string& error) {
  const std::string setName = FoldCase(setFolder.filename().string());
  std::vector<Entry> entries;
  std::error_code ec;
  fs::directory_iterator set(setFolder, ec);
  if (ec) {
    error = Describe(setFolder, ec);
    return std::nullopt;
  }
  for (; set != fs::directory_iterator(); set.increment(ec)) {
    const std::string name = set->path().filename().string();
    const std::string folded = FoldCase(name);
    const bool kindFolder = std::any_of(kAllTransferKinds.begin(), kAllTransferKinds.end(),
                                        [&](TransferKind k) { return FoldCase(KindFolderName(k)) == folded; });
    if (!kindFolder || !set->is_directory(ec)) continue;
    fs::directory_iterator kind(set->path(), ec);
    if (ec) {
      error = Describe(set->path(), ec);
      return std::nullopt;
    }
    for (; kind != fs::directory_iterator(); kind.increment(ec))
      if (kind->is_regular_file(ec))
        entries.push_back({setName + "/" + folded + "/" + FoldCase(kind->path().filename().string()), kind->path()});
    if (ec) {
      error = Describe(set->path(), ec);
      return std::nullopt;
    }
  }
  if (ec) {
    error = Describe(setFolder, ec);
    return std::nullopt;
  }
  // Names equal but for letter case keep their byte order.
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.key != b.key ? a.key < b.key : a.path.filename().string() < b.path.filename().string();
  });

  const std::unique_ptr<EVP_MD_CTX, DigestFreer> context(EVP_MD_CTX_new());
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
    error = "SHA-256 is not available";
    return std::nullopt;
  }
  SetDigest digest;
  const std::unique_ptr<char[]> chunk(new char[kChunkBytes]);
  for (const Entry& e : entries) {
    if (IsCompanion(e.key)) {
      // Named, not read: the tables already tell one download from another, and the
      // graphs are most of a set folder's bytes.
      static constexpr unsigned char kNamedOnly = 0xFF;
      EVP_DigestUpdate(context.get(), e.key.data(), e.key.size() + 1);
      EVP_DigestUpdate(context.get(), &kNamedOnly, 1);
      ++digest.files;
      continue;
    }
    ReadOnlyFile file;
    if (file.Open(e.path, kMaxFileBytes) != FileStatus::Ok) {
      error = file.message();
      return std::nullopt;
    }
    struct stat info {};
    if (::stat(e.path.c_str(), &info) == 0) digest.newest = std::max(digest.newest, info.st_mtime);
    std::array<unsigned char, 8> length{};
    for (std::size_t i = 0; i < length.size(); ++i) length[i] = static_cast<unsigned char>(file.size() >> (8 * i));
    EVP_DigestUpdate(context.get(), e.key.data(), e.key.size() + 1);  // with its terminating zero
    EVP_DigestUpdate(context.get(), length.data(), length.size());
    std::uint64_t at = 0;
    while (at < file.size()) {
      const std::int64_t n = file.ReadAt(chunk.get(), kChunkBytes, at);
      if (n < 0) {
        error = file.message();
        return std::nullopt;
      }
      if (n == 0) break;
      EVP_DigestUpdate(context.get(), chunk.get(), static_cast<std::size_t>(n));
      at += static_cast<std::uint64_t>(n);
    }
    if (at != file.size()) {
      error = e.path.string() + ": the file changed while it was being read";
      return std::nullopt;
    }
    digest.bytes += at;
    ++digest.files;
  }
  std::array<unsigned char, EVP_MAX_MD_SIZE> sum{};
  unsigned int sumLength = 0;
  if (EVP_DigestFinal_ex(context.get(), sum.data(), &sumLength) != 1 || sumLength < 8) {
    error = "SHA-256 is not available";
    return std::nullopt;
  }
  constexpr char kHex[] = "0123456789abcdef";
  for (int i = 0; i < 8; ++i) {
    digest.id += kHex[sum[static_cast<std::size_t>(i)] >> 4];
    digest.id += kHex[sum[static_cast<std::size_t>(i)] & 15];
  }
  return digest;
}

std::string LocalTimeText(std::time_t t) {
  std::tm local{};
  if (::localtime_r(&t, &local) == nullptr) return {};
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(text, n);
}

}  // namespace rxt4
