#pragma once
// What the data set loader tells its owner, in the order a load meets it.

#include <string>
#include <string_view>
#include <vector>

namespace rxt4 {

// One message of a load.
struct LoadMessage {
  enum class Kind {
    FileError,     // a table or count file could not be opened or read
    CountWarning,  // a table holds another number of rows than recorded, or a count file no count
    FolderError,   // the data folder, a set folder or a kind folder could not be read
  };
  Kind kind = Kind::FileError;
  std::string text;  // UTF-8; see LoadObserver for the texts

  bool operator==(const LoadMessage&) const = default;
};

class LoadObserver {
 public:
  virtual ~LoadObserver() = default;
  // A table or count file could not be opened or read: the platform's description of
  // the error followed by the file name (UTF-8).
  virtual void FileError(const std::string& message) = 0;
  // A table holds another number of rows than recorded (none at all included): the
  // table's path followed by Text(StringId::CountWarning); or a count file that holds
  // no count of this format: its path followed by Text(StringId::CountFileInvalid)
  // (UTF-8, holding line breaks).
  virtual void CountWarning(const std::string& message) = 0;
  // The data folder, a set folder or a kind folder could not be read (its
  // measurements are missing from the tree): Text(StringId::FolderUnreadable) with the
  // folder and the reason. Shown as a file error unless overridden.
  virtual void FolderError(const std::string& message) { FileError(message); }
};

// Passes messages to observer in their order.
void Deliver(const std::vector<LoadMessage>& messages, LoadObserver& observer);

// The message of a folder that cannot be read (FolderError).
std::string FolderErrorMessage(int err, std::string_view path);

// An observer that drops every message.
class NullLoadObserver : public LoadObserver {
 public:
  void FileError(const std::string&) override {}
  void CountWarning(const std::string&) override {}
};

}  // namespace rxt4
