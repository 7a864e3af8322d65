// A received kind image written by DataSetWriter, then the written folder loaded by
// DataFolderModel and every record shown on its screen: the loader and the screens
// read whatever the writer made of arbitrary image bytes.
// Input: byte 0 selects the kind (modulo 7) and, from its high bits, how many
// 180-byte blocks the announced image size exceeds the bytes that follow (an image
// written before it was complete); the rest is the image. The written kind folder is
// also read back into an image, as the simulator does.

#include <cstdint>
#include <memory>
#include <string>

#include "FuzzEntry.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/LoadObserver.h"
#include "rxt4/screens/Fonts.h"
#include "rxt4/screens/ScreenSet.h"
#include "rxt4/screens/Surface.h"

namespace rxt4::fuzz {

RXT4_FUZZ_ENTRY(FuzzWriter) {
  static const TempFolder folder("fuzz_writer");
  static const std::shared_ptr<const FontSet> fonts = FontSet::CreatePattern();
  if (size < 1) return 0;
  folder.Clean();

  const auto kind = static_cast<TransferKind>(data[0] % kTransferKindCount);
  const std::uint32_t missingBytes = static_cast<std::uint32_t>(data[0] / kTransferKindCount % 4) * 180u;
  const std::uint8_t* image = data + 1;
  const std::size_t imageBytes = size - 1;

  const std::filesystem::path dataFolder = folder.path() / "data";
  const std::filesystem::path setFolder = dataFolder / "20240101";
  std::error_code ec;
  std::filesystem::create_directories(setFolder, ec);

  DataSetWriter writer;
  writer.SelectKind(kind);
  if (writer.kind() != kind) __builtin_trap();
  if (!writer.PrepareFolder(setFolder)) return 0;
  if (!writer.Allocate(static_cast<std::uint32_t>(imageBytes) + missingBytes)) return 0;
  writer.Append(image, imageBytes);
  if (writer.fill() > writer.imageSize()) __builtin_trap();
  writer.Write();

  DataFolderModel model;
  NullLoadObserver observer;
  model.Load(dataFolder, observer);
  if (model.RootCount() != DataFolderModel::kRootCount) __builtin_trap();

  ScreenSet screens(fonts);
  Surface dc;
  std::size_t sum = 0;
  for (int n = 1; n <= model.itemCount(); ++n) {
    sum += model.Label(n).size() + model.LabelSjis(n).size();
    const CDataSet* record = model.Record(n);
    if (record == nullptr) __builtin_trap();
    if (model.Parent(n) > model.itemCount()) __builtin_trap();
    for (int row = 0; row < model.ChildCount(n); ++row)
      if (model.Parent(model.ChildAt(n, row)) != n) __builtin_trap();
    if (model.Kind(n) == DataKind::None) continue;
    sum += record->indexText().size() + record->countText().size() + record->companionBase().size();
    if (screens.Select(*record) != nullptr) {
      screens.Paint(dc);
      sum += screens.Current()->ShowDataName().value_or("").size();
    }
  }
  if (const auto readBack = ReadKindImage(setFolder, kind)) sum += readBack->size();
  return static_cast<int>(sum & 0);
}

}  // namespace rxt4::fuzz
