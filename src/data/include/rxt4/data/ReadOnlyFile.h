#pragma once
// Every file the program reads (tables, count files, companion files, firmware images,
// the settings file) is opened here: without blocking, and checked on the open file
// before a byte is read. Only a regular file (links followed) no longer than what its
// kind can hold is read, so a named pipe, a device or a huge file on a memory stick
// ends in a file error at once instead of a hang or an exhausted memory.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace rxt4 {

enum class FileStatus {
  Ok,
  OpenFailed,  // the file could not be opened (missing, no permission); nothing was read
  Refused,     // it opened but is no regular file, or is longer than its kind can hold; nothing was read
  ReadFailed,  // reading stopped early; the bytes before are kept
};

class FolderHandle;

class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Opens path for reading without blocking and keeps it open when it is a regular
  // file of at most maxBytes; otherwise closes it again, and message() says why.
  FileStatus Open(const std::filesystem::path& path, std::uint64_t maxBytes);

  bool isOpen() const { return fd_ >= 0; }
  // The length found when the file was opened.
  std::uint64_t size() const { return size_; }

  // Reads up to count bytes from offset: the number read, 0 at the end of the file,
  // -1 on a failure (message() says which).
  std::int64_t ReadAt(void* buffer, std::size_t count, std::uint64_t offset);

  // Reads the whole file into bytes (replacing them): a single read when the file is
  // as long as it was when opened. After a failure the bytes read before it are kept
  // (a file that has grown past its bound since it was opened fails as too large).
  FileStatus ReadAll(std::string& bytes);

  // The platform's description of the last failure followed by the file name; empty
  // when there was none.
  const std::string& message() const { return message_; }
  // The platform's error number of the last failure (EISDIR for a folder; 0 when
  // there was none, or for another file that is no regular file).
  int error() const { return error_; }

  void Close();

 private:
  friend class FolderHandle;
  friend class FileBatch;
  // Checks the descriptor just opened, or keeps the open's error number when fd is
  // negative. The file is name, or name inside folder when folder is given: the path
  // is only put together for a message.
  FileStatus Adopt(int fd, int openError, const std::filesystem::path* folder, std::string_view name,
                   std::uint64_t maxBytes);
  FileStatus Fail(FileStatus status, int err);
  std::string Path() const;

  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t maxBytes_ = 0;
  const std::filesystem::path* folder_ = nullptr;
  std::string name_;
  std::string message_;
  int error_ = 0;
};

// Opens and reads a whole file of at most maxBytes into bytes; message tells of a
// failure as ReadOnlyFile::message() does.
FileStatus ReadFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes, std::string& bytes,
                         std::string& message);

// The reason for error number err in the user's language (ReasonText) followed by the
// file name, cut to the length a message box shows (600 bytes, never inside a UTF-8
// sequence).
std::string FileErrorMessage(int err, std::string_view path);
// The same for a file that is no regular file (a folder, a pipe, a device).
std::string NotRegularFileMessage(bool isFolder, std::string_view path);

}  // namespace rxt4
