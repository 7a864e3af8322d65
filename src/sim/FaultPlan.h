#pragma once
// Faults the simulated instrument injects, from --fault FAULT options:
//   garbage:CMD[:N]        N replies to CMD (default 1) start with three noise bytes
//   checksum:CMD[:N]       N replies to CMD carry a wrong checksum
//   drop:CMD[:N]           N requests of CMD get no reply
//   status:CMD[:N]         N replies to CMD carry status 1
//   split:CMD[:N]          N replies to CMD arrive in three pieces, 20 ms apart
//   delay:CMD:MS[:N]       N replies to CMD are held back MS milliseconds
//   echo:KIND:BLOCK[:K]    K replies (default 1) to block BLOCK of kind KIND echo the wrong block
//   kind:KIND:BLOCK[:K]    K replies to block BLOCK of kind KIND echo the next kind
//   total:KIND:BLOCK[:K]   K replies to block BLOCK of kind KIND carry a wrong total
//   hangup:KIND:BLOCK      the line hangs up when block BLOCK of kind KIND is asked for
// CMD is a request code in hex (20, 23, 26, 24, or with 0x); KIND 0..6, BLOCK decimal.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rxt4::sim {

// The transfer's request codes, written out here rather than taken from the link
// layer: the simulator is the far end that the link layer is checked against.
inline constexpr std::uint8_t kConnectCheckCode = 0x20;
inline constexpr std::uint8_t kBaudRateCode = 0x23;
inline constexpr std::uint8_t kDataReadCode = 0x24;  // the one the block faults apply to
inline constexpr std::uint8_t kTransferModeCode = 0x26;

enum class FaultType { Garbage, Checksum, Drop, Status, Split, Delay, Echo, Kind, Total, Hangup };

struct Fault {
  FaultType type = FaultType::Drop;
  std::uint8_t code = 0;  // request code (Garbage, Checksum, Drop, Status)
  int kind = -1;          // Echo, Kind, Total, Hangup
  int block = -1;         // Echo, Kind, Total, Hangup
  int delayMs = 0;        // Delay
  int remaining = 1;      // how many more times it fires
};

class FaultPlan {
 public:
  // Parses one FAULT text; an error text on failure.
  std::optional<std::string> Add(const std::string& text);

  // Consumes one firing of a fault of type for the request (code, and kind/block
  // for 0x24; -1 otherwise); true when it fires.
  bool Take(FaultType type, std::uint8_t code, int kind = -1, int block = -1);
  // Consumes one firing of a delay of the replies to code; its milliseconds, or 0.
  int TakeDelayMs(std::uint8_t code);

  bool empty() const { return faults_.empty(); }

 private:
  std::vector<Fault> faults_;
};

// The --fault syntax, for --help.
const char* FaultSyntaxHelp();

}  // namespace rxt4::sim
