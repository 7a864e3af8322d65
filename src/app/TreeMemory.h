#pragma once
// The tree's expanded nodes and its selected item as node paths that outlive a run:
// "LEVEL" (a kind), "LEVEL/0412" (a set folder of that kind), "LEVEL/0412/3" (that set
// folder's third measurement). The kind is named by its folder and the set folder as
// the file system names it, so a path still finds its item when the data folder has
// gained or lost other set folders.

#include <string>
#include <string_view>
#include <vector>

class QTreeView;

namespace rxt4 {

class DataFolderModel;
class DataTreeModel;

class TreeMemory {
 public:
  TreeMemory(QTreeView& tree, const DataTreeModel& treeModel, const DataFolderModel& data)
      : tree_(tree), treeModel_(treeModel), data_(data) {}

  // The node path of a tree item; empty for none.
  std::string NodePath(int item) const;
  // The item of a node path; 0 when the data folder has no such item any more.
  int ItemOf(std::string_view path) const;

  // The expanded nodes and the selected item of the tree as it is.
  std::vector<std::string> ExpandedNodes() const;
  std::string SelectedNode() const;
  // Expands the nodes that are still there and selects the item (which shows it).
  void Restore(const std::vector<std::string>& expanded, const std::string& selected) const;

 private:
  QTreeView& tree_;
  const DataTreeModel& treeModel_;
  const DataFolderModel& data_;
};

}  // namespace rxt4
