#include "rxt4/data/FolderLoadJob.h"

#include <system_error>
#include <utility>

namespace rxt4 {

FolderLoadJob::~FolderLoadJob() {
  Cancel();
  Join();
}

bool FolderLoadJob::Start(std::filesystem::path dataFolder, LoadOptions options) {
  if (started_) return false;
  started_ = true;
  running_ = true;
  try {
    worker_ = std::thread(&FolderLoadJob::Run, this, std::move(dataFolder), options);
  } catch (const std::system_error&) {
    running_ = false;
    return false;
  }
  return true;
}

void FolderLoadJob::Join() {
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

void FolderLoadJob::Run(std::filesystem::path dataFolder, LoadOptions options) {
  cancelled_ = !model_.Load(dataFolder, messages_, options, &progress_);
  running_ = false;
  if (observer_) observer_->finished(cancelled_);
}

}  // namespace rxt4
