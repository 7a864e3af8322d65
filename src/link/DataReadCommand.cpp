#include "rxt4/link/DataReadCommand.h"

#include <algorithm>

#include "rxt4/data/Paths.h"

namespace rxt4 {
namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Offsets in the 0xA4 reply payload.
constexpr std::size_t kStatusOffset = 0;
constexpr std::size_t kKindOffset = 1;
constexpr std::size_t kTotalOffset = 2;
constexpr std::size_t kValidCountOffset = 6;
constexpr std::size_t kBlockOffset = 7;
constexpr std::size_t kDataOffset = 10;

}  // namespace

CDataReadCommand::CDataReadCommand() : CInstrumentCommand(kRequestCode, kReplyCode, kReplyPayloadBytes) {
  const std::uint8_t payload[] = {static_cast<std::uint8_t>(TransferKind::None), kBlockDataBytes, 0, 0};
  SetRequestPayload(payload);
  setTimeoutMs(kFirstBlockTimeoutMs);
}

bool CDataReadCommand::Setup(TransferKind kind, TransferCommandListener* listener,
                             const std::filesystem::path& setFolder) {
  return Setup(kind, listener, setFolder, SetFolderName(setFolder));
}

bool CDataReadCommand::Setup(TransferKind kind, TransferCommandListener* listener, const std::filesystem::path& folder,
                             const std::string& setName) {
  const int k = static_cast<int>(kind);
  if (k < 0 || k >= kTransferKindCount) return false;
  kind_ = kind;
  listener_ = listener;
  const std::uint8_t payload[] = {static_cast<std::uint8_t>(k), kBlockDataBytes, 0, 0};
  SetRequestPayload(payload);
  setTimeoutMs(kFirstBlockTimeoutMs);
  block_ = 0;
  retryCount_ = 0;
  expectedTotal_ = 0;
  writer_.SelectKind(kind);
  return writer_.PrepareFolder(folder, setName);
}

void CDataReadCommand::SetRequestBlock(int block) {
  block_ = block;
  auto payload = requestPayload();
  payload[2] = static_cast<std::uint8_t>((block >> 8) & 0xFF);
  payload[3] = static_cast<std::uint8_t>(block & 0xFF);
  UpdateRequestChecksum();
}

bool CDataReadCommand::Retry() {
  if (retryCount_ >= kMaxRetries) return false;
  ++retryCount_;
  if (listener_ != nullptr) listener_->OnRetry(kind_, retryCount_);
  setStep(LinkStep::Send);
  return true;
}

bool CDataReadCommand::Wait(CSerialPort& port) {
  setLastPortError(port.WaitEvent(timeoutMs()));
  if (lastPortError() == PortError::Timeout) return Retry();
  if (lastPortError() != PortError::Success) return false;
  setStep(LinkStep::Read);
  return true;
}

bool CDataReadCommand::OnReply() {
  auto p = replyPayload();
  if (p[kStatusOffset] != 0) return false;

  const std::uint32_t total = BigEndian32(&p[kTotalOffset]);
  const int echoedBlock = (p[kBlockOffset] << 8) | p[kBlockOffset + 1];
  const bool echoMatches = p[kKindOffset] == static_cast<int>(kind_) && echoedBlock == block_;

  std::size_t contributed = 0;
  if (block_ == 0) {
    // A reply for another kind or block says nothing about this image's size.
    if (!echoMatches) return Retry();
    // Reject sizes the data model cannot hold before allocating anything.
    if (total < kImageHeaderBytes || total > kMaxImageBytes) return false;
    if (!writer_.Allocate(total)) return false;
    expectedTotal_ = total;
    const std::uint32_t body = total - kImageHeaderBytes;
    lastBlock_ = static_cast<int>(body / kBlockDataBytes + (body % kBlockDataBytes != 0 ? 1 : 0));
    setTimeoutMs(static_cast<int>(total / kImageBytesPerTimeoutMs) + kFirstBlockTimeoutMs);
    contributed = kImageHeaderBytes;
  } else {
    contributed = std::min<std::size_t>(p[kValidCountOffset], kBlockDataBytes);
  }
  if (total != expectedTotal_ || !echoMatches) return Retry();

  retryCount_ = 0;
  writer_.Append(&p[kDataOffset], contributed);
  if (listener_ != nullptr) listener_->OnProgress(kind_, (block_ + 1) * 100 / (lastBlock_ + 1));

  if (block_ == lastBlock_) {
    // A kind whose files cannot be written does not stop the others; the job
    // turns it into a failure at the end.
    if (!writer_.Write() && listener_ != nullptr)
      listener_->OnKindNotSaved(kind_, writer_.failedFolder(), writer_.folderError());
    setStep(LinkStep::Done);
    return true;
  }
  SetRequestBlock(block_ + 1);
  setStep(LinkStep::Send);
  return true;
}

}  // namespace rxt4
