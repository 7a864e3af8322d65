#pragma once
// The steps of a command's state machine: the worker runs the handler of the head
// command's current step. Each step keeps one fixed number, so that a step reads the
// same in a trace, a log and a test.

namespace rxt4 {

enum class LinkStep : int {
  Send = 0x466,  // build and write the request
  Read = 0x467,  // collect and verify the reply
  Wait = 0x468,  // wait for received characters
  Done = 0x469,  // the command is finished: remove it from the queue
  // Steps of the firmware update worker.
  Entry = 0x4C9,          // wake-up state report
  Version = 0x4CA,        // a version reply is ready
  XmodemSend = 0x4CC,     // send the next XMODEM packet or EOT
  XmodemReceive = 0x4CD,  // read the receiver's answer byte
};

}  // namespace rxt4
