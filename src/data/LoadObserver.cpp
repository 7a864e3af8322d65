#include "rxt4/data/LoadObserver.h"

#include <system_error>

#include "rxt4/data/Strings.h"

namespace rxt4 {

void Deliver(const std::vector<LoadMessage>& messages, LoadObserver& observer) {
  for (const LoadMessage& message : messages) {
    switch (message.kind) {
      case LoadMessage::Kind::FileError: observer.FileError(message.text); break;
      case LoadMessage::Kind::CountWarning: observer.CountWarning(message.text); break;
      case LoadMessage::Kind::FolderError: observer.FolderError(message.text); break;
    }
  }
}

std::string FolderErrorMessage(int err, std::string_view path) {
  return FillIn(Text(StringId::FolderUnreadable), {path, ReasonText(std::error_code(err, std::generic_category()))});
}

}  // namespace rxt4
