// The batch that opens and reads a set folder's files: it must leave each file as the
// one-by-one way would, and hand back to that way whatever it cannot do.

#include "FileBatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../common/HostileFiles.h"
#include "../common/TempFolder.h"

namespace rxt4 {
namespace {

TEST(FileBatch, OpensAndReadsAsTheOneByOneWay) {
  FileBatch batch;
  if (!batch.available()) GTEST_SKIP() << "this system offers no io_uring";
  test::TempFolder dir;
  dir.Put("K/table.CSV", "h\n1,a\n");
  dir.Put("K/sub/x", "");
  test::MakeHostile(test::Hostile::Fifo, dir.path() / "K/pipe.CSV");
  test::MakeHostile(test::Hostile::ZeroLink, dir.path() / "K/zero.CSV");
  test::MakeHostile(test::Hostile::Sparse, dir.path() / "K/huge.CSV");
  FolderHandle folder(dir.path());

  // More files than one round takes, so rounds and queued closes meet.
  std::vector<FileBatch::OpenRequest> opens;
  for (const char* name : {"K/table.CSV", "K/missing.CSV", "K/pipe.CSV", "K/sub", "K/zero.CSV", "K/huge.CSV"})
    for (int copy = 0; copy < 20; ++copy) {
      FileBatch::OpenRequest& open = opens.emplace_back();
      open.name = name;
      open.maxBytes = 1024;
    }
  batch.Open(folder, opens);

  std::vector<FileBatch::ReadRequest> reads;
  std::vector<std::string> buffers;
  buffers.reserve(opens.size());
  for (FileBatch::OpenRequest& open : opens) {
    SCOPED_TRACE(open.name);
    ReadOnlyFile expected;
    const FileStatus status = folder.OpenFile(open.name, open.maxBytes, expected);
    if (status == FileStatus::OpenFailed) {
      // Left for the usual way, which words the reason.
      EXPECT_EQ(open.status, FileStatus::OpenFailed);
      EXPECT_FALSE(open.file.isOpen());
      continue;
    }
    EXPECT_EQ(open.status, status);
    EXPECT_EQ(open.file.message(), expected.message());
    EXPECT_EQ(open.file.isOpen(), status == FileStatus::Ok);
    if (status != FileStatus::Ok) continue;
    buffers.emplace_back(open.file.size() + 1, '\0');
    reads.push_back({&open.file, buffers.back().data(), buffers.back().size()});
  }
  ASSERT_EQ(reads.size(), 20u);
  batch.Read(reads);
  for (std::size_t i = 0; i < reads.size(); ++i) {
    EXPECT_EQ(reads[i].got, 6);
    EXPECT_EQ(buffers[i].substr(0, 6), "h\n1,a\n");
    batch.Close(*reads[i].file);
    EXPECT_FALSE(reads[i].file->isOpen());
  }
}

}  // namespace
}  // namespace rxt4
