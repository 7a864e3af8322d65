#include "rxt4/report/MeasurementSelection.h"

#include <algorithm>
#include <map>

namespace rxt4 {

int MeasurementSelection::CountOf(TransferKind kind) const {
  return static_cast<int>(std::count_if(measurements.begin(), measurements.end(),
                                        [kind](const SelectedMeasurement& m) { return m.kind == kind; }));
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

}  // namespace rxt4
