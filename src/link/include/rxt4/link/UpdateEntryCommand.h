#pragma once
// The wake-up of the firmware update: single ESC bytes, one after the other without
// pause, each followed by a look at what has arrived, until the instrument in its
// remote update mode answers with the frame 0xE0 (02 00 00 01 E0 00 03 E6).

#include "rxt4/link/InstrumentCommand.h"

namespace rxt4 {

class CUpdateEntryCommand : public CInstrumentCommand {
 public:
  static constexpr std::uint8_t kEsc = 0x1B;
  static constexpr std::uint8_t kReplyCode = 0xE0;

  // Starts at LinkStep::Entry with value 1 = 0 (the worker reports "waiting").
  CUpdateEntryCommand();
  // Writes one ESC byte (reply bytes collected so far are kept); step becomes LinkStep::Read.
  bool Send(CSerialPort& port) override;
  // Collects what has arrived, dropping bytes before an STX: fewer than 8 bytes send
  // ESC again (LinkStep::Send); a complete frame is verified.
  bool Receive(CSerialPort& port) override;
  // A complete reply must be exactly 02 00 00 01 E0 00 03 E6.
  bool Verify() override;
  // The instrument answered: value 1 = 1, step LinkStep::Entry.
  bool OnReply() override;
  // LinkStep::Entry: value 1 = 0 tells the worker the instrument is awaited and starts
  // the ESC bytes (LinkStep::Send); value 1 = 1 tells it the instrument answered, and
  // the wake-up is done.
  LinkOutcome RunOwnStep(LinkStep step, CSerialPort& port, StepHost& host) override;

 private:
  static constexpr std::size_t kDiscardChunkBytes = 256;
  // Drops what is queued once the answer is verified (late answers to earlier ESC bytes).
  void DiscardLateAnswers(CSerialPort& port);
};

}  // namespace rxt4
