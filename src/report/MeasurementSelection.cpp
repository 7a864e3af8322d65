#include "rxt4/report/MeasurementSelection.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace rxt4 {
namespace {

// A load of one set folder of a data folder (the reader threads' work saved: one
// folder is read at a time).
LoadOptions OneSetFolder(const std::string& name) {
  LoadOptions options;
  options.threads = 1;
  // Batched reads pay off across many set folders; for one, setting up the batch
  // (and unmapping it again, which interrupts every core) costs more than it saves.
  options.batchedReads = false;
  options.setFolders = {name};
  return options;
}

// Counts of each kind of a set folder's measurements.
std::array<int, kTransferKindCount> CountsOf(std::span<const SelectedMeasurement> measurements) {
  std::array<int, kTransferKindCount> counts{};
  for (const SelectedMeasurement& m : measurements) ++counts[static_cast<std::size_t>(m.kind)];
  return counts;
}

}  // namespace

int SourceFolder::total() const { return std::accumulate(counts.begin(), counts.end(), 0); }

int MeasurementSelection::CountOf(TransferKind kind) const {
  return static_cast<int>(std::count_if(measurements.begin(), measurements.end(),
                                        [kind](const SelectedMeasurement& m) { return m.kind == kind; }));
}

std::vector<SourceFolder> MeasurementSelection::Folders() const {
  std::vector<SourceFolder> folders;
  std::size_t at = 0;
  for (const std::string& name : setFolders) {
    SourceFolder& folder = folders.emplace_back();
    folder.name = name;
    folder.first = at;
    for (; at < measurements.size() && measurements[at].setFolder == name; ++at)
      ++folder.counts[static_cast<std::size_t>(measurements[at].kind)];
  }
  return folders;
}

std::optional<FolderMeasurements> MeasurementSelection::Measurements(const SourceFolder& folder, std::string&) const {
  const std::size_t first = std::min(folder.first, measurements.size());
  const std::size_t count = std::min(static_cast<std::size_t>(folder.total()), measurements.size() - first);
  return FolderMeasurements{std::span(measurements).subspan(first, count), nullptr};
}

MeasurementSelection SelectMeasurements(const DataFolderModel& model, const std::filesystem::path& dataFolder,
                                        const std::vector<std::string>& onlySets) {
  // Each set folder's items of every kind, in tree order.
  std::map<std::string, std::vector<std::pair<TransferKind, int>>> itemsOf;
  for (TransferKind kind : kAllTransferKinds) {
    const int root = DataFolderModel::RootNumber(kind);
    for (int f = 0; f < model.ChildCount(root); ++f) {
      const int setItem = model.ChildAt(root, f);
      itemsOf[model.Label(setItem)].emplace_back(kind, setItem);
    }
  }
  // The set folders in the loader's order: every one with measurements, or the named
  // ones, with measurements or not (a named one the load did not list comes last).
  auto named = [&](const std::string& name) {
    return std::find(onlySets.begin(), onlySets.end(), name) != onlySets.end();
  };
  std::vector<std::string> names;
  for (const std::string& name : model.SetFolders())
    if (onlySets.empty() ? itemsOf.count(name) != 0 : named(name)) names.push_back(name);
  for (const std::string& name : onlySets)
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);

  MeasurementSelection selection;
  selection.dataFolder = dataFolder;
  selection.model = std::make_shared<const DataFolderModel>(model);
  for (const std::string& name : names) {
    selection.setFolders.push_back(name);
    for (const auto& [kind, setItem] : itemsOf[name]) {
      for (int m = 0; m < model.ChildCount(setItem); ++m) {
        const CDataSet* record = model.Record(model.ChildAt(setItem, m));
        if (record != nullptr && record->kind != DataKind::None)
          selection.measurements.push_back({name, kind, *record});
      }
    }
  }
  return selection;
}

bool StreamedSelection::Scan(const std::filesystem::path& dataFolder, const std::vector<std::string>& onlySets,
                             LoadObserver& observer) {
  dataFolder_ = dataFolder;
  folders_.clear();
  bool readable = true;
  auto deliver = [&](const std::vector<LoadMessage>& messages) {
    for (const LoadMessage& m : messages) readable = readable && m.kind != LoadMessage::Kind::FolderError;
    Deliver(messages, observer);
  };
  std::vector<LoadMessage> messages;
  std::vector<std::string> names = ListSetFolders(dataFolder, messages);
  deliver(messages);
  for (const std::string& name : names) {
    if (!onlySets.empty() && std::find(onlySets.begin(), onlySets.end(), name) == onlySets.end()) continue;
    DataFolderModel model;
    messages.clear();
    model.Load(dataFolder, messages, OneSetFolder(name));
    deliver(messages);
    SourceFolder folder;
    folder.name = name;
    for (TransferKind kind : kAllTransferKinds) folder.counts[static_cast<std::size_t>(kind)] = model.MeasurementCountOf(kind);
    if (onlySets.empty() && folder.total() == 0) continue;
    folders_.push_back(std::move(folder));
  }
  for (const std::string& name : onlySets)
    if (std::find(names.begin(), names.end(), name) == names.end()) folders_.push_back({name, {}, 0});
  return readable;
}

std::optional<FolderMeasurements> StreamedSelection::Measurements(const SourceFolder& folder, std::string& error) const {
  if (folder.total() == 0) return FolderMeasurements{};
  DataFolderModel model;
  std::vector<LoadMessage> messages;  // said when the folder was counted
  model.Load(dataFolder_, messages, OneSetFolder(folder.name));
  auto selection = std::make_shared<MeasurementSelection>(SelectMeasurements(model, dataFolder_, {folder.name}));
  if (CountsOf(selection->measurements) != folder.counts) {
    error = (dataFolder_ / folder.name).string() + ": the set folder changed while it was being read";
    return std::nullopt;
  }
  return FolderMeasurements{selection->measurements, selection};
}

std::shared_ptr<const DataFolderModel> MeasurementSelection::ModelOf(const std::string&, std::string& error) const {
  error.clear();
  return model;
}

std::shared_ptr<const DataFolderModel> StreamedSelection::ModelOf(const std::string& setFolder,
                                                                  std::string& error) const {
  auto model = std::make_shared<DataFolderModel>();
  std::vector<LoadMessage> messages;  // said when the folder was counted
  model->Load(dataFolder_, messages, OneSetFolder(setFolder));
  for (const LoadMessage& m : messages)
    if (m.kind == LoadMessage::Kind::FolderError) {
      error = m.text;
      return nullptr;
    }
  return model;
}

std::size_t StreamedSelection::measurementCount() const {
  std::size_t n = 0;
  for (const SourceFolder& f : folders_) n += static_cast<std::size_t>(f.total());
  return n;
}

}  // namespace rxt4
