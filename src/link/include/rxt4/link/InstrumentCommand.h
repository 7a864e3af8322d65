#pragma once
// CInstrumentCommand: one request/reply exchange with the instrument as a small
// state machine. The worker's queue runner calls the operation named by step();
// each returns true on success. Subclasses set the request, the expected reply and
// their OnReply; the update commands run their own steps (RunOwnStep).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "rxt4/link/Frame.h"
#include "rxt4/link/LinkResult.h"
#include "rxt4/link/LinkStep.h"
#include "rxt4/link/SerialPort.h"
#include "rxt4/link/StepHost.h"

namespace rxt4 {

class CInstrumentCommand {
 public:
  static constexpr int kDefaultTimeoutMs = 1000;

  virtual ~CInstrumentCommand() = default;

  // Prepares an empty reply buffer, writes the request frame; step becomes LinkStep::Wait.
  virtual bool Send(CSerialPort& port);
  // Collects the queued reply bytes and verifies them.
  virtual bool Receive(CSerialPort& port);
  // Waits for received characters within timeoutMs(); step becomes LinkStep::Read.
  virtual bool Wait(CSerialPort& port);
  // Checks a complete reply (header, code, length, ETX, checksum), copies its payload
  // and runs OnReply; an incomplete reply sets step LinkStep::Wait and succeeds; a bad
  // one is OnBadReply's.
  virtual bool Verify();
  // Acts on a verified reply; the base finishes the command (step LinkStep::Done).
  virtual bool OnReply();
  // Runs a step of the command's own beyond SEND, WAIT, READ and DONE (the update
  // commands' wake-up, version and XMODEM steps), telling host what it learns. Any
  // outcome but Success ends the run with it; the base has no steps of its own and
  // ends it with EmptyEntry, the step as value.
  virtual LinkOutcome RunOwnStep(LinkStep step, CSerialPort& port, StepHost& host);

  LinkStep step() const { return step_; }
  void setStep(LinkStep step) { step_ = step; }
  // The two values carried with the step (used by the update worker; 0 otherwise).
  int stepValue1() const { return stepValue1_; }
  int stepValue2() const { return stepValue2_; }
  void setStepValues(int value1, int value2) { stepValue1_ = value1; stepValue2_ = value2; }

  std::uint8_t requestCode() const { return requestCode_; }
  // The request frame as Send writes it.
  std::vector<std::uint8_t> RequestFrame() const;
  int timeoutMs() const { return timeoutMs_; }
  void setTimeoutMs(int ms) { timeoutMs_ = ms; }

  // The payload of the last verified reply (the reply destination).
  std::span<const std::uint8_t> replyPayload() const { return replyPayload_; }
  // The bytes collected so far for the reply in progress.
  std::span<const std::uint8_t> receivedBytes() const { return {replyBuffer_.data(), receivedCount_}; }

 protected:
  enum class FrameCheck { Incomplete, Bad, Good };

  // A complete reply with a bad header, code, length, ETX or checksum: the base fails.
  virtual bool OnBadReply() { return false; }

  CInstrumentCommand(std::uint8_t requestCode, std::uint8_t replyCode, std::size_t replyPayloadLength);

  // Sets the request payload (at most 255 bytes) and updates the checksum.
  void SetRequestPayload(std::span<const std::uint8_t> payload);
  std::span<std::uint8_t> requestPayload() { return {requestPayload_.data(), requestPayload_.size()}; }
  // Recomputes the request checksum after requestPayload() was changed in place.
  void UpdateRequestChecksum();
  std::uint8_t requestChecksum() const { return requestChecksum_; }

  std::uint8_t replyCode() const { return replyCode_; }
  std::size_t replyPayloadLength() const { return replyPayloadLength_; }
  // Changes the expected reply payload length, resizing the buffer (received bytes kept,
  // the count clamped to the new size).
  void SetReplyPayloadLength(std::size_t length);
  // Replaces the reply buffer by an empty one of replyPayloadLength() + 8 bytes.
  void ResetReplyBuffer();
  std::vector<std::uint8_t>& replyBuffer() { return replyBuffer_; }
  std::size_t receivedCount() const { return receivedCount_; }
  void setReceivedCount(std::size_t count) { receivedCount_ = count; }

  // Reads the queued bytes into the reply buffer, never past the frame's end; a
  // surplus goes to the port's pendingCount, and bytes before the frame's STX are
  // dropped when more is queued than the frame needs. False on a port error.
  bool CollectReplyBytes(CSerialPort& port);
  // Checks the collected reply; Good copies the payload to replyPayload().
  FrameCheck CheckFrame();

  // The PortError of the last port operation this command made (for the update's checks).
  PortError lastPortError() const { return lastPortError_; }
  void setLastPortError(PortError e) { lastPortError_ = e; }

 private:
  std::uint8_t requestCode_;
  std::vector<std::uint8_t> requestPayload_;
  std::uint8_t requestChecksum_ = 0;
  std::uint8_t replyCode_;
  std::size_t replyPayloadLength_;
  std::vector<std::uint8_t> replyPayload_;
  std::vector<std::uint8_t> replyBuffer_;
  std::size_t receivedCount_ = 0;
  int timeoutMs_ = kDefaultTimeoutMs;
  LinkStep step_ = LinkStep::Send;
  int stepValue1_ = 0;
  int stepValue2_ = 0;
  PortError lastPortError_ = PortError::Success;
};

}  // namespace rxt4
