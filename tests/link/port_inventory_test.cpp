#include "link/port_inventory.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "link/tty_hardware_parent.h"
#include "tools/module_sim/simulated_module.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsbFtdi = "devices/pci0000:00/0000:00:14.0/usb1/1-1";
constexpr const char* kUsbAcm = "devices/pci0000:00/0000:00:14.0/usb1/1-2";

// A small machine in a temporary folder: sysfs with an FTDI adapter (ttyUSB0), a CDC-ACM
// device (ttyACM1), on-board UARTs (ttyS0, and ttyAMA0 without a COM number), and the ttys
// that are no ports (a pseudo-terminal master, an 8250 placeholder); /dev with the nodes and
// the udev links. The nodes of ttyUSB0 and ttyACM1 are links to simulated modules'
// pseudo-terminals, so their access is real; ttyS0 and ttyAMA0 have no node.
class PortInventoryTree {
  public:
    PortInventoryTree() {
        std::string pattern = ::testing::TempDir() + "lvcfg_ports_XXXXXX";
        m_root = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        EXPECT_TRUE(m_free.Start());
        EXPECT_TRUE(m_held.Start());
        EXPECT_EQ(m_holder.Open(m_held.PortPath()), OpenOutcome::Opened);

        const std::string ftdiPort = std::string(kUsbFtdi) + "/1-1:1.0/ttyUSB0";
        Attributes(kUsbFtdi, {{"idVendor", "0403"}, {"idProduct", "6001"}, {"serial", "A50285BI"}});
        Attributes(ftdiPort, {{"latency_timer", "16"}});
        Tty(ftdiPort, "ttyUSB0", "bus/usb-serial/drivers/ftdi_sio");

        const std::string acmInterface = std::string(kUsbAcm) + "/1-2:1.0";
        Attributes(kUsbAcm, {{"idVendor", "2341"}, {"idProduct", "0043"}});
        Tty(acmInterface, "ttyACM1", "bus/usb/drivers/cdc_acm");

        // A UART as newer kernels show it, the serial core's devices between tty and chip.
        Tty("devices/pnp0/00:04/00:04:0/00:04:0.0", "ttyS0", "bus/serial-base/drivers/port");
        Bind("devices/pnp0/00:04/00:04:0/00:04:0.0", "bus/serial-base");
        Bind("devices/pnp0/00:04/00:04:0", "bus/serial-base", "bus/serial-base/drivers/ctrl");
        Bind("devices/pnp0/00:04", "bus/pnp", "bus/pnp/drivers/serial");
        Tty("devices/platform/soc/fe201000.serial", "ttyAMA0", "bus/amba/drivers/uart-pl011");
        Tty("devices/platform/serial8250", "ttyS5", "bus/platform/drivers/serial8250");
        fs::create_directories(Sys("devices/virtual/tty/ptmx"));
        fs::create_directory_symlink("../../devices/virtual/tty/ptmx", Sys("class/tty/ptmx"));

        fs::create_directories(Dev("serial/by-id"));
        fs::create_directories(Dev("serial/by-path"));
        fs::create_symlink(m_free.PortPath(), Dev("ttyUSB0"));
        fs::create_symlink(m_held.PortPath(), Dev("ttyACM1"));
        fs::create_symlink("../../ttyUSB0",
                           Dev("serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
        fs::create_symlink("../../ttyUSB0",
                           Dev("serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0"));
        fs::create_symlink("../../ttyACM1", Dev("serial/by-path/pci-0000:00:14.0-usb-0:2:1.0"));
        fs::create_symlink("/elsewhere/ttyUSB0", Dev("serial/by-id/usb-other-if00"));
    }
    ~PortInventoryTree() { fs::remove_all(m_root); }

    [[nodiscard]] PortInventory Inventory() const {
        return PortInventory(m_root + "/sys", m_root + "/dev");
    }
    [[nodiscard]] std::string Dev(const std::string& name) const { return m_root + "/dev/" + name; }

  private:
    [[nodiscard]] std::string Sys(const std::string& name) const { return m_root + "/sys/" + name; }

    void Attributes(const std::string& dir,
                    std::initializer_list<std::pair<const char*, const char*>> values) {
        fs::create_directories(Sys(dir));
        for (const auto& [name, value] : values) {
            std::ofstream(Sys(dir + "/" + name)) << value << '\n';
        }
    }

    // Puts `dir` on the bus at `subsystemDir` and, when given, binds it to `driverDir`.
    void Bind(const std::string& dir, const std::string& subsystemDir,
              const std::string& driverDir = {}) {
        fs::create_directories(Sys(subsystemDir));
        fs::create_directory_symlink(fs::relative(Sys(subsystemDir), Sys(dir)),
                                     Sys(dir + "/subsystem"));
        if (!driverDir.empty()) {
            fs::create_directories(Sys(driverDir));
            fs::create_directory_symlink(fs::relative(Sys(driverDir), Sys(dir)),
                                         Sys(dir + "/driver"));
        }
    }

    // A tty under `parent`, bound to the driver at `driverDir`, listed in class/tty.
    void Tty(const std::string& parent, const std::string& name, const std::string& driverDir) {
        const std::string ttyDir = parent + "/tty/" + name;
        fs::create_directories(Sys(ttyDir));
        fs::create_directories(Sys(driverDir));
        fs::create_directories(Sys("class/tty"));
        fs::create_directory_symlink(fs::relative(Sys(parent), Sys(ttyDir)),
                                     Sys(ttyDir + "/device"));
        fs::create_directory_symlink(fs::relative(Sys(driverDir), Sys(parent)),
                                     Sys(parent + "/driver"));
        fs::create_directory_symlink("../../" + ttyDir, Sys("class/tty/" + name));
    }

    std::string m_root;
    SimulatedModule m_free;
    SimulatedModule m_held;
    SerialSession m_holder;
};

struct PortRow {
    const char* kernelName;
    std::optional<int> comNumber;
    bool comNameReaches;
    const char* driver;
    const char* vendor;
    const char* product;
    const char* serial;
    std::optional<int> latencyTimer;
    std::vector<std::string> byId;
    std::vector<std::string> byPath;
    OpenOutcome access;
};

void PrintTo(const PortRow& row, std::ostream* out) {
    *out << row.kernelName;
}

class PortInventoryTest : public ::testing::TestWithParam<PortRow> {
  protected:
    PortInventoryTree m_tree;
};

TEST_P(PortInventoryTest, DescribesThePort) {
    const PortRow& row = GetParam();
    const auto port = m_tree.Inventory().Describe(row.kernelName);
    ASSERT_TRUE(port.has_value());
    EXPECT_EQ(port->devicePath, m_tree.Dev(row.kernelName));
    EXPECT_EQ(port->comNumber, row.comNumber);
    EXPECT_EQ(port->comNameReachesPort, row.comNameReaches);
    EXPECT_EQ(port->driver, row.driver);
    EXPECT_EQ(port->usbVendorId, row.vendor);
    EXPECT_EQ(port->usbProductId, row.product);
    EXPECT_EQ(port->usbSerial, row.serial);
    EXPECT_EQ(port->latencyTimerMs, row.latencyTimer);
    std::vector<std::string> byId;
    for (const auto& name : row.byId) {
        byId.push_back(m_tree.Dev("serial/by-id/" + name));
    }
    std::vector<std::string> byPath;
    for (const auto& name : row.byPath) {
        byPath.push_back(m_tree.Dev("serial/by-path/" + name));
    }
    EXPECT_EQ(port->byIdPaths, byId);
    EXPECT_EQ(port->byPathPaths, byPath);
    EXPECT_EQ(OpenOutcomeName(port->access), std::string(OpenOutcomeName(row.access)));
}

INSTANTIATE_TEST_SUITE_P(
    FakeMachine, PortInventoryTest,
    ::testing::Values(
        PortRow{"ttyUSB0",
                1,
                true,
                "ftdi_sio",
                "0403",
                "6001",
                "A50285BI",
                16,
                {"usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
                {"pci-0000:00:14.0-usb-0:1:1.0-port0"},
                OpenOutcome::Opened},
        PortRow{"ttyACM1",
                2,
                true,
                "cdc_acm",
                "2341",
                "0043",
                "",
                std::nullopt,
                {},
                {"pci-0000:00:14.0-usb-0:2:1.0"},
                OpenOutcome::Busy},
        // COM1 reaches ttyUSB0 first, so ttyS0 is COM1 by name only.
        PortRow{
            "ttyS0", 1, false, "serial", "", "", "", std::nullopt, {}, {}, OpenOutcome::Missing}),
    [](const auto& info) { return std::string(info.param.kernelName); });

TEST(PortInventoryListTest, ListsOnlyPortsWithHardwareByComNumberUnnumberedLast) {
    const PortInventoryTree tree;
    std::vector<std::string> names;
    for (const auto& port : tree.Inventory().List()) {
        names.push_back(port.kernelName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"ttyS0", "ttyUSB0", "ttyACM1", "ttyAMA0"}));
}

TEST(PortInventoryListTest, DescribesAPortByDevicePathButNotTtysWithoutHardware) {
    const PortInventoryTree tree;
    const PortInventory inventory = tree.Inventory();
    const auto byPath = inventory.Describe("/dev/ttyUSB0");
    ASSERT_TRUE(byPath.has_value());
    EXPECT_EQ(byPath->sysfsPath,
              "/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0");
    EXPECT_FALSE(inventory.Describe("ptmx").has_value());
    EXPECT_FALSE(inventory.Describe("ttyS5").has_value());
    EXPECT_FALSE(inventory.Describe("ttyUSB9").has_value());
    EXPECT_FALSE(inventory.Describe("").has_value());
    EXPECT_FALSE(inventory.Describe("..").has_value());
}

TEST(PortInventoryListTest, MachineWithoutSysfsHasNoPorts) {
    const PortInventory inventory(::testing::TempDir() + "lvcfg-no-sysfs", "/dev");
    EXPECT_TRUE(inventory.List().empty());
}

TEST(HasHardwareParent, OnlyRealDevicesCount) {
    EXPECT_TRUE(HasHardwareParent("/devices/pnp0/00:04/tty/ttyS0"));
    EXPECT_TRUE(HasHardwareParent("/devices/platform/soc/fe201000.serial/tty/ttyAMA0"));
    EXPECT_FALSE(HasHardwareParent("/devices/virtual/tty/console"));
    EXPECT_FALSE(HasHardwareParent("/devices/platform/serial8250/tty/ttyS31"));
    EXPECT_FALSE(HasHardwareParent("tty/ttyUSB0"));
}

}  // namespace
