#include "link/com_port_list.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {
// A throw-away sysfs and /dev tree.
class FakeTree {
public:
    FakeTree() {
        char pattern[] = "/tmp/comportlist.XXXXXX";
        m_root = mkdtemp(pattern);
        fs::create_directories(Sys() + "/class/tty");
        fs::create_directories(Dev());
    }
    ~FakeTree() { fs::remove_all(m_root); }

    std::string Sys() const { return (m_root / "sys").string(); }
    std::string Dev() const { return (m_root / "dev").string(); }

    // A tty with a device link (into a USB device directory when `product` is given) and a /dev node.
    void AddTty(const std::string& name, const std::string& maker = "", const std::string& product = "",
                const std::string& type = "") {
        const fs::path usb = m_root / "sys/devices/usb1" / name;
        const fs::path iface = usb / "1-1:1.0";
        fs::create_directories(iface);
        if (!product.empty()) {
            Write(usb / "manufacturer", maker + "\n");
            Write(usb / "product", product + "\n");
        }
        const fs::path tty = m_root / "sys/class/tty" / name;
        fs::create_directories(tty);
        fs::create_directory_symlink(iface, tty / "device");
        if (!type.empty()) Write(tty / "type", type + "\n");
        Write(m_root / "dev" / name, "");
    }
    void AddById(const std::string& link, const std::string& tty) {
        fs::create_directories(m_root / "dev/serial/by-id");
        fs::create_symlink("../../" + tty, m_root / "dev/serial/by-id" / link);
    }
    // A tty the kernel lists without a device behind it (a virtual console).
    void AddVirtualTty(const std::string& name) {
        fs::create_directories(m_root / "sys/class/tty" / name);
        Write(m_root / "dev" / name, "");
    }

private:
    static void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }
    fs::path m_root;
};
}  // namespace

TEST(ComPortList, EmptyTreeGivesTheSixteenFixedPorts) {
    FakeTree tree;
    const CComPortList list(tree.Sys(), tree.Dev());
    ASSERT_EQ(list.GetCount(), 16);
    EXPECT_EQ(list.GetName(0), "ttyS0");
    EXPECT_EQ(list.GetPath(0), tree.Dev() + "/ttyS0");
    EXPECT_EQ(list.GetName(15), "ttyS15");
    EXPECT_EQ(list.GetPath(15), tree.Dev() + "/ttyS15");
    for (int i : {-1, 16, 1000}) {
        EXPECT_EQ(list.GetName(i), "") << i;
        EXPECT_EQ(list.GetPath(i), "") << i;
    }
}

TEST(ComPortList, ReportedPortsFollowNamedAndSorted) {
    FakeTree tree;
    tree.AddTty("ttyUSB10", "Zenta", "Line Adapter");
    tree.AddTty("ttyUSB0");
    tree.AddById("usb-Zenta_Converter_Z1-if00-port0", "ttyUSB0");
    tree.AddTty("ttyACM0", "", "ttyACM0 modem");
    tree.AddTty("ttyUSB2");
    tree.AddTty("ttyS20", "", "", "4");
    tree.AddTty("ttyS21", "", "", "0");  // no UART behind it
    tree.AddTty("ttyS3", "", "", "4");   // already among the fixed ports
    tree.AddVirtualTty("tty1");

    const CComPortList list(tree.Sys(), tree.Dev());
    const std::pair<std::string, std::string> expected[] = {
        {"ttyACM0", "ttyACM0 modem"},
        {"ttyS20", "ttyS20"},
        {"ttyUSB0", "usb-Zenta_Converter_Z1-if00-port0 (ttyUSB0)"},
        {"ttyUSB2", "ttyUSB2"},
        {"ttyUSB10", "Zenta Line Adapter (ttyUSB10)"},
    };
    ASSERT_EQ(list.GetCount(), 16 + static_cast<int>(std::size(expected)));
    EXPECT_EQ(list.GetName(3), "ttyS3");
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const int at = 16 + static_cast<int>(i);
        EXPECT_EQ(list.GetPath(at), tree.Dev() + "/" + expected[i].first);
        EXPECT_EQ(list.GetName(at), expected[i].second);
    }
}

TEST(ComPortList, TtyWithoutDeviceNodeIsLeftOut) {
    FakeTree tree;
    tree.AddTty("ttyUSB0");
    std::filesystem::remove(tree.Dev() + "/ttyUSB0");
    EXPECT_EQ(CComPortList(tree.Sys(), tree.Dev()).GetCount(), 16);
}
