#pragma once
// The measurements a report or an export covers, set folder by set folder.
//
// A MeasurementSource names the set folders covered (in the tree's order, with the
// number of their measurements of each kind) and hands out one set folder's
// measurements at a time, in the tree's order (the kinds in tree order, then the
// measurement number), so that the same folder always gives the same report and the
// same database, and a job need only hold the set folders it is working on.
//
// MeasurementSelection holds copies of the loaded records of the chosen set folders
// (the viewer's; the copies share the loaded table bytes, so a worker thread may use
// them while the viewer loads another folder). StreamedSelection (the command line)
// reads each set folder again when it is asked for.

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Kinds.h"

namespace rxt4 {

struct SelectedMeasurement {
  std::string setFolder;  // the set folder's name as the file system lists it
  TransferKind kind = TransferKind::None;
  CDataSet record;
};

// A set folder covered and its measurements of each kind.
struct SourceFolder {
  std::string name;                               // as the file system lists it
  std::array<int, kTransferKindCount> counts{};   // indexed by TransferKind
  std::size_t first = 0;                          // where the source keeps its measurements

  int total() const;
};

// The measurements of one set folder, kept alive by owner.
struct FolderMeasurements {
  std::span<const SelectedMeasurement> measurements;
  std::shared_ptr<const void> owner;
};

class MeasurementSource {
 public:
  virtual ~MeasurementSource() = default;
  virtual const std::filesystem::path& DataFolderPath() const = 0;
  // The set folders covered, in the loader's order, with their counts.
  virtual std::vector<SourceFolder> Folders() const = 0;
  // The measurements of one of Folders(), as many of each kind as it counted; nothing,
  // with error, when they can no longer be read so.
  virtual std::optional<FolderMeasurements> Measurements(const SourceFolder& folder, std::string& error) const = 0;
  // A loaded model that holds the named set folder (and maybe others), for judging it
  // as `rxt4 check` does (FolderJudgement) and for its channel points; nullptr, with
  // error, when it can no longer be read, and with error empty when the source has
  // no model to give (its measurements are then not judged).
  virtual std::shared_ptr<const DataFolderModel> ModelOf(const std::string& setFolder, std::string& error) const {
    (void)setFolder;
    error.clear();
    return nullptr;
  }
};

struct MeasurementSelection : MeasurementSource {
  std::filesystem::path dataFolder;
  std::vector<std::string> setFolders;            // in the loader's order
  std::vector<SelectedMeasurement> measurements;  // by set folder, kind, number
  std::shared_ptr<const DataFolderModel> model;   // the loaded model the records came from

  // Number of measurements of a kind.
  int CountOf(TransferKind kind) const;

  const std::filesystem::path& DataFolderPath() const override { return dataFolder; }
  std::vector<SourceFolder> Folders() const override;
  std::optional<FolderMeasurements> Measurements(const SourceFolder& folder, std::string& error) const override;
  std::shared_ptr<const DataFolderModel> ModelOf(const std::string& setFolder, std::string& error) const override;
};

// The measurements of a loaded data folder: of every set folder, or of the named ones
// only (a named folder without measurements is listed with none). The selection keeps
// a copy of the model (its records shared, not copied) for judging.
MeasurementSelection SelectMeasurements(const DataFolderModel& model, const std::filesystem::path& dataFolder,
                                        const std::vector<std::string>& onlySets = {});

// The measurements of a data folder read set folder by set folder: Scan reads each
// once to count its measurements (the loader's messages go to the observer, as a
// load of the whole folder gives them), and Measurements reads it again; at most the
// set folder asked for is held, never the whole data folder.
class StreamedSelection : public MeasurementSource {
 public:
  // Reads the data folder's set folders: every one with measurements, or the named
  // ones (names as the file system lists them), with measurements or not. True when
  // every folder could be read; false when one could not (the observer heard which).
  bool Scan(const std::filesystem::path& dataFolder, const std::vector<std::string>& onlySets, LoadObserver& observer);

  const std::filesystem::path& DataFolderPath() const override { return dataFolder_; }
  std::vector<SourceFolder> Folders() const override { return folders_; }
  std::optional<FolderMeasurements> Measurements(const SourceFolder& folder, std::string& error) const override;
  // The set folder read again on its own.
  std::shared_ptr<const DataFolderModel> ModelOf(const std::string& setFolder, std::string& error) const override;

  // Number of measurements of every set folder covered.
  std::size_t measurementCount() const;

 private:
  std::filesystem::path dataFolder_;
  std::vector<SourceFolder> folders_;
};

}  // namespace rxt4
