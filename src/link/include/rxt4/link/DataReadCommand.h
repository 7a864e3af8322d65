#pragma once
// CDataReadCommand: 0x24, reads one kind's stored data block by block into a
// DataSetWriter and has it write the kind folder after the last block. A bad,
// missing or mismatched reply asks for the same block again, up to three times.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/link/InstrumentCommand.h"
#include "rxt4/link/TransferCommandListener.h"

namespace rxt4 {

class CDataReadCommand : public CInstrumentCommand {
 public:
  static constexpr std::uint8_t kRequestCode = 0x24;
  static constexpr std::uint8_t kReplyCode = 0xA4;
  static constexpr std::size_t kReplyPayloadBytes = 190;
  static constexpr std::uint8_t kBlockDataBytes = 180;  // also the request's 0xB4
  static constexpr std::uint32_t kImageHeaderBytes = 8;
  static constexpr int kFirstBlockTimeoutMs = 5000;
  // After block 0 each wait allows a further millisecond per this many image bytes.
  static constexpr std::uint32_t kImageBytesPerTimeoutMs = 20;
  // The block number travels as a signed 16-bit value: the largest image the
  // protocol can describe is 8 + 32767 blocks of 180 bytes.
  static constexpr std::uint32_t kMaxImageBytes = kImageHeaderBytes + 32767u * kBlockDataBytes;
  static constexpr int kMaxRetries = 3;

  CDataReadCommand();

  // Sets the kind, the listener (may be null) and has the writer make the kind
  // folder inside setFolder; false when the kind is invalid or the folder fails.
  bool Setup(TransferKind kind, TransferCommandListener* listener, const std::filesystem::path& setFolder);
  // The same inside folder, the files named after setName (a staged download).
  bool Setup(TransferKind kind, TransferCommandListener* listener, const std::filesystem::path& folder,
             const std::string& setName);

  // The job's abort flag, which stops the writing of the kind's files between two files.
  void SetAbortFlag(const std::atomic<bool>* abort) { writer_.SetAbortFlag(abort); }

  // A time-out asks for the block again; any other port error fails.
  bool Wait(CSerialPort& port) override;
  // Takes the block into the writer and asks for the next, or finishes the kind.
  bool OnReply() override;

  TransferKind kind() const { return kind_; }
  int block() const { return block_; }
  int lastBlock() const { return lastBlock_; }
  std::uint32_t expectedTotal() const { return expectedTotal_; }
  int retryCount() const { return retryCount_; }
  const DataSetWriter& writer() const { return writer_; }

 private:
  // Asks for the same block again, or fails once it has been asked for four times.
  bool Retry();
  void SetRequestBlock(int block);

  TransferKind kind_ = TransferKind::None;
  TransferCommandListener* listener_ = nullptr;
  DataSetWriter writer_;
  int block_ = 0;
  int lastBlock_ = 0;
  std::uint32_t expectedTotal_ = 0;
  int retryCount_ = 0;

 protected:
  // A complete reply with a bad header or checksum asks for the block again.
  bool OnBadReply() override { return Retry(); }
};

}  // namespace rxt4
