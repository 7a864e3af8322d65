#pragma once
// The steps of a command's state machine: the worker runs the handler of the head
// command's current step. Each step keeps one fixed number, so that a step reads the
// same in a trace, a log and a test.

namespace rxt4 {

enum LinkStep : int {
  WM_LINK_SEND = 0x466,     // build and write the request
  WM_LINK_READ = 0x467,     // collect and verify the reply
  WM_LINK_WAIT = 0x468,     // wait for received characters
  WM_LINK_DONE = 0x469,     // the command is finished: remove it from the queue
  // Steps of the firmware update worker.
  WM_LINK_ENTRY = 0x4C9,    // wake-up state report
  WM_LINK_VERSION = 0x4CA,  // a version reply is ready
  WM_LINK_XSEND = 0x4CC,    // send the next XMODEM packet or EOT
  WM_LINK_XRECV = 0x4CD,    // read the receiver's answer byte
};

}  // namespace rxt4
