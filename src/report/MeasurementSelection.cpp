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
  auto wanted = [&](const std::string& name) {
    return onlySets.empty() || std::find(onlySets.begin(), onlySets.end(), name) != onlySets.end();
  };
  // Set folder name -> the set folder items of each kind, in tree order.
  std::map<std::string, std::vector<std::pair<TransferKind, int>>> bySet;
  for (const std::string& name : onlySets) bySet[name];
  for (TransferKind kind : kAllTransferKinds) {
    const int root = DataFolderModel::RootNumber(kind);
    for (int f = 0; f < model.ChildCount(root); ++f) {
      const int setItem = model.ChildAt(root, f);
      const std::string name = model.Label(setItem);
      if (wanted(name)) bySet[name].emplace_back(kind, setItem);
    }
  }

  MeasurementSelection selection;
  selection.dataFolder = dataFolder;
  for (const auto& [name, items] : bySet) {
    selection.setFolders.push_back(name);
    for (const auto& [kind, setItem] : items) {
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
