#pragma once
// What the data set loader tells its owner, in the order a load meets it.

#include <string>
#include <vector>

namespace rxt4 {

// One message of a load.
struct LoadMessage {
  enum class Kind {
    FileError,     // a table or count file could not be opened or read
    CountWarning,  // a table holds another number of rows than recorded
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
  // A table holds another number of rows than recorded: the table's path followed by
  // Text(StringId::CountWarning) (UTF-8, holding line breaks).
  virtual void CountWarning(const std::string& message) = 0;
};

// Passes messages to observer in their order.
void Deliver(const std::vector<LoadMessage>& messages, LoadObserver& observer);

// An observer that drops every message.
class NullLoadObserver : public LoadObserver {
 public:
  void FileError(const std::string&) override {}
  void CountWarning(const std::string&) override {}
};

}  // namespace rxt4
