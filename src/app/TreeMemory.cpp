#include "TreeMemory.h"

#include <QTreeView>
#include <charconv>

#include "DataTreeModel.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Kinds.h"

namespace rxt4 {
namespace {

constexpr char kSeparator = '/';

// The next part of a path, taken off its front.
std::string_view TakePart(std::string_view& rest) {
  const size_t end = rest.find(kSeparator);
  const std::string_view part = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return part;
}

}  // namespace

std::string TreeMemory::NodePath(int item) const {
  if (item <= 0 || item > data_.itemCount()) return {};
  std::vector<int> chain;
  for (int n = item; n != 0; n = data_.Parent(n)) chain.insert(chain.begin(), n);
  std::string path;
  for (TransferKind kind : kAllTransferKinds)
    if (DataFolderModel::RootNumber(kind) == chain.front()) path = std::string(KindFolderName(kind));
  if (chain.size() > 1) (path += kSeparator) += data_.Label(chain[1]);
  if (chain.size() > 2) (path += kSeparator) += std::to_string(data_.RowInParent(chain[2]) + 1);
  return path;
}

int TreeMemory::ItemOf(std::string_view path) const {
  std::string_view rest = path;
  const std::string_view kindName = TakePart(rest);
  int item = 0;
  for (TransferKind kind : kAllTransferKinds)
    if (KindFolderName(kind) == kindName) item = DataFolderModel::RootNumber(kind);
  if (item == 0 || rest.empty()) return item;
  const std::string_view setName = TakePart(rest);
  int set = 0;
  for (int row = 0; row < data_.ChildCount(item) && set == 0; ++row)
    if (data_.Label(data_.ChildAt(item, row)) == setName) set = data_.ChildAt(item, row);
  if (set == 0 || rest.empty()) return set;
  int position = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), position);
  if (error != std::errc() || end != rest.data() + rest.size() || position < 1 || position > data_.ChildCount(set))
    return 0;
  return data_.ChildAt(set, position - 1);
}

std::vector<std::string> TreeMemory::ExpandedNodes() const {
  // Only kinds and set folders have children.
  std::vector<std::string> nodes;
  for (int row = 0; row < data_.RootCount(); ++row) {
    const int root = data_.ChildAt(0, row);
    if (!tree_.isExpanded(treeModel_.IndexOf(root))) continue;
    nodes.push_back(NodePath(root));
    for (int child = 0; child < data_.ChildCount(root); ++child) {
      const int set = data_.ChildAt(root, child);
      if (tree_.isExpanded(treeModel_.IndexOf(set))) nodes.push_back(NodePath(set));
    }
  }
  return nodes;
}

std::string TreeMemory::SelectedNode() const { return NodePath(DataTreeModel::ItemNumber(tree_.currentIndex())); }

void TreeMemory::Restore(const std::vector<std::string>& expanded, const std::string& selected) const {
  for (const std::string& node : expanded)
    if (const int item = ItemOf(node); item != 0) tree_.expand(treeModel_.IndexOf(item));
  if (const int item = ItemOf(selected); item != 0) {
    const QModelIndex index = treeModel_.IndexOf(item);
    tree_.setCurrentIndex(index);
    tree_.scrollTo(index);
  }
}

}  // namespace rxt4
