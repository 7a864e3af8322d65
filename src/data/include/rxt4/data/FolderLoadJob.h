#pragma once
// FolderLoadJob: a data folder load on a worker thread owned by the job, so that a
// window stays responsive while a large archive is read. The watcher reads the
// progress counts, may cancel (an atomic flag; the worker ends after the set folders
// it is reading), and takes the model and the messages once the job has finished.

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/LoadObserver.h"

namespace rxt4 {

// Told once, on the job's worker thread, that the load has ended.
class FolderLoadObserver {
 public:
  virtual ~FolderLoadObserver() = default;
  virtual void finished(bool cancelled) = 0;
};

class FolderLoadJob {
 public:
  // observer (may be null) must outlive the worker: the job's destructor, or Join.
  explicit FolderLoadJob(FolderLoadObserver* observer = nullptr) : observer_(observer) {}
  // Cancels a running load and waits for its worker.
  ~FolderLoadJob();
  FolderLoadJob(const FolderLoadJob&) = delete;
  FolderLoadJob& operator=(const FolderLoadJob&) = delete;

  // Starts loading dataFolder on the worker. False when started before (a job runs
  // once) or no thread could be made.
  bool Start(std::filesystem::path dataFolder, LoadOptions options = {});
  // Raises the cancel flag (also before Start: the load then reads nothing).
  void Cancel() { progress_.cancel = true; }
  // Waits until the worker has ended.
  void Join();

  // True from Start until the worker has ended.
  bool running() const { return running_.load(); }
  int setFoldersRead() const { return progress_.setFoldersRead.load(); }
  // 0 until the data folder has been listed.
  int setFolderTotal() const { return progress_.setFolderTotal.load(); }

  // Once the job has ended (not running() after Start): whether it was cancelled, the
  // model (empty when cancelled) and the messages in the order of the load.
  bool cancelled() const { return cancelled_; }
  DataFolderModel& model() { return model_; }
  std::vector<LoadMessage>& messages() { return messages_; }

 private:
  void Run(std::filesystem::path dataFolder, LoadOptions options);

  FolderLoadObserver* observer_;
  LoadProgress progress_;
  std::atomic<bool> running_{false};
  bool started_ = false;
  bool cancelled_ = false;  // written by the worker before running_ falls
  DataFolderModel model_;
  std::vector<LoadMessage> messages_;
  std::thread worker_;
};

}  // namespace rxt4
