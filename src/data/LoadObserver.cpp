#include "rxt4/data/LoadObserver.h"

namespace rxt4 {

void Deliver(const std::vector<LoadMessage>& messages, LoadObserver& observer) {
  for (const LoadMessage& message : messages) {
    if (message.kind == LoadMessage::Kind::CountWarning)
      observer.CountWarning(message.text);
    else
      observer.FileError(message.text);
  }
}

}  // namespace rxt4
