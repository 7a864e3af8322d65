// Lists the serial ports with libserialport (listing only: it refuses
// pseudo-terminals for I/O, so the port itself uses our termios backend).

#include "rxt4/link/PortInfo.h"

#include <libserialport.h>

namespace rxt4 {

std::vector<PortInfo> ListSerialPorts() {
  std::vector<PortInfo> result;
  sp_port** ports = nullptr;
  if (sp_list_ports(&ports) != SP_OK || ports == nullptr) return result;
  for (sp_port** p = ports; *p != nullptr; ++p) {
    PortInfo info;
    if (const char* name = sp_get_port_name(*p)) info.name = name;
    if (const char* description = sp_get_port_description(*p)) info.description = description;
    int vid = 0, pid = 0;
    if (sp_get_port_transport(*p) == SP_TRANSPORT_USB && sp_get_port_usb_vid_pid(*p, &vid, &pid) == SP_OK) {
      info.usbVendorId = vid;
      info.usbProductId = pid;
    }
    if (!info.name.empty()) result.push_back(std::move(info));
  }
  sp_free_port_list(ports);
  return result;
}

}  // namespace rxt4
