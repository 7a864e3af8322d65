// rxt4 udev-rule, run as the built program against a made-up sysfs tree.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../common/RunRxt4.h"
namespace {

namespace fs = std::filesystem;
using rxt4::test::Outcome;
using rxt4::test::RunRxt4;

// /sys as the kernel lays it out: an ACM instrument on 1-2 (below the root hub usb1),
// an FTDI adapter on 1-3 whose texts need care, an on-board port and a virtual tty.
class UdevRule : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path usb = dir_ / "sys/devices/pci0000:00/0000:00:14.0/usb1";
    Put(usb / "idVendor", "1d6b\n");
    Put(usb / "idProduct", "0002\n");
    Put(usb / "1-2/idVendor", "0483\n");
    Put(usb / "1-2/idProduct", "5740\n");
    Put(usb / "1-2/serial", "2061345B5746\n");
    Put(usb / "1-2/manufacturer", "STMicroelectronics\n");
    Put(usb / "1-2/product", "RXT4\n");
    fs::create_directories(usb / "1-2/1-2:1.0/tty/ttyACM0");
    Put(usb / "1-3/idVendor", "0403\n");
    Put(usb / "1-3/idProduct", "6001\n");
    Put(usb / "1-3/serial", "A9*\"1\n");
    Put(usb / "1-3/product", "FT232R\rUART\n");
    fs::create_directories(usb / "1-3/1-3:1.0/ttyUSB0");
    fs::create_directories(dir_ / "sys/devices/platform/serial8250");
    Link("ttyACM0", usb / "1-2/1-2:1.0");
    Link("ttyUSB0", usb / "1-3/1-3:1.0/ttyUSB0");
    Link("ttyS0", dir_ / "sys/devices/platform/serial8250");
    fs::create_directories(dir_ / "sys/class/tty/tty1");
    Put(dir_ / "dev/ttyACM0", "");
    fs::create_directories(dir_ / "dev/serial/by-id");
    fs::create_symlink("../../ttyACM0", dir_ / "dev/serial/by-id/usb-STMicroelectronics_RXT4-if00");
  }

  static void Put(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }
  void Link(const std::string& tty, const fs::path& device) {
    fs::create_directories(dir_ / "sys/class/tty" / tty);
    fs::create_symlink(device, dir_ / "sys/class/tty" / tty / "device");
  }

  int Run(const std::string& args, std::string& out, std::string& err) {
    const Outcome run = RunRxt4(dir_, "udev-rule " + args);
    out = run.out;
    err = run.err;
    return run.status;
  }

  rxt4::test::TempFolder temp_{"udev"};
  fs::path dir_ = temp_.path();
};

constexpr const char* kHeader =
    ".\n# Written by rxt4 udev-rule; install as /etc/udev/rules.d/70-rxt4.rules (uaccess\n"
    "# needs a number below 73). Gives the user at the computer access to the port and\n"
    "# keeps ModemManager from probing it.\n";

TEST_F(UdevRule, RuleMatchesTheNearestUsbDeviceOfThePort) {
  const std::string acm = std::string("# The RXT4's serial port: USB 0483:5740, \"STMicroelectronics\" \"RXT4\", ") +
                          "serial \"2061345B5746\"" + kHeader +
                          "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"0483\", ATTRS{idProduct}==\"5740\", "
                          "ATTRS{serial}==\"2061345B5746\", TAG+=\"uaccess\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n";
  // A serial number with pattern characters is left out of the match; a control byte
  // in a text cannot break the comment line.
  const std::string ftdi = std::string("# The RXT4's serial port: USB 0403:6001, \"\" \"FT232R?UART\", serial \"A9*\"1\"") +
                           kHeader +
                           "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", "
                           "TAG+=\"uaccess\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n";
  const struct {
    std::string port;
    std::string expected;
  } cases[] = {
      {"/dev/ttyACM0", acm},
      {"dev/serial/by-id/usb-STMicroelectronics_RXT4-if00", acm},
      {"ttyUSB0", ftdi},
  };
  for (const auto& c : cases) {
    std::string out, err;
    EXPECT_EQ(Run(c.port + " --sysfs sys", out, err), 0) << c.port << err;
    EXPECT_EQ(out, c.expected) << c.port;
  }
}

TEST_F(UdevRule, PortsThatAreNotUsbDevicesFail) {
  // A device whose attribute is a named pipe is read without waiting on it.
  fs::create_directories(dir_ / "sys/devices/odd");
  ASSERT_EQ(::mkfifo((dir_ / "sys/devices/odd/idVendor").c_str(), 0600), 0);
  Put(dir_ / "sys/devices/odd/idProduct", "5740\n");
  Link("ttyODD", dir_ / "sys/devices/odd");
  std::string out, err;
  for (const char* port : {"/dev/ttyS0", "/dev/tty1", "/dev/ttyACM7", "/dev/ttyODD", "/dev/pts/3"}) {
    EXPECT_EQ(Run(std::string(port) + " --sysfs sys", out, err), 1) << port;
    EXPECT_EQ(out, "");
  }
  EXPECT_EQ(err, "rxt4 udev-rule: /dev/pts/3 (3) は接続されている USB シリアル機器ではありません\n");
  EXPECT_EQ(Run("--sysfs sys", out, err), 2);
  EXPECT_EQ(Run("ttyACM0 ttyUSB0", out, err), 2);
}

}  // namespace
