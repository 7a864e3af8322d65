#pragma once
// What the data set loader tells its owner while it loads, in the order it happens.

#include <string>

namespace rxt4 {

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

// An observer that drops every message.
class NullLoadObserver : public LoadObserver {
 public:
  void FileError(const std::string&) override {}
  void CountWarning(const std::string&) override {}
};

}  // namespace rxt4
