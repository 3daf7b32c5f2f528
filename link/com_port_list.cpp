#include "link/com_port_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>
#include <tuple>

#include "platform/c_number.h"

namespace fs = std::filesystem;

namespace {
struct PortKey {
    std::string prefix;
    int number = 0;
    bool operator<(const PortKey& other) const {
        return std::tie(prefix, number) < std::tie(other.prefix, other.number);
    }
};

// "ttyUSB12" -> {"ttyUSB", 12}; false without a trailing number.
bool SplitName(const std::string& name, PortKey* key) {
    std::size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
    if (digits == name.size() || digits == 0 || name.size() - digits > 6) return false;
    key->prefix = name.substr(0, digits);
    key->number = ParseInt32(name.substr(digits));
    return true;
}

std::string ReadFirstLine(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    return line;
}

// tty name -> the name of the first by-id link pointing to it.
std::map<std::string, std::string> ByIdNames(const fs::path& byId) {
    std::map<std::string, std::string> names;
    std::error_code ec;
    std::vector<fs::path> links;
    for (fs::directory_iterator it(byId, ec), end; !ec && it != end; it.increment(ec))
        links.push_back(it->path());
    std::sort(links.begin(), links.end());
    for (const fs::path& link : links) {
        const fs::path target = fs::read_symlink(link, ec);
        if (!ec) names.emplace(target.filename().string(), link.filename().string());
    }
    return names;
}

// Maker and product of the USB device the tty belongs to, looked up the device's parents.
std::string UsbName(const fs::path& device) {
    std::error_code ec;
    fs::path dir = fs::canonical(device, ec);
    for (int level = 0; !ec && level < 5 && dir.has_relative_path(); ++level, dir = dir.parent_path()) {
        if (!fs::exists(dir / "product", ec)) continue;
        const std::string maker = ReadFirstLine(dir / "manufacturer");
        const std::string product = ReadFirstLine(dir / "product");
        return maker.empty() ? product : product.empty() ? maker : maker + " " + product;
    }
    return "";
}

bool IsSerialTty(const fs::path& sysTty, const PortKey& key) {
    std::error_code ec;
    if (!fs::exists(sysTty / "device", ec)) return false;
    // Numbered 8250 ports exist whether or not there is hardware behind them; type 0 means none.
    if (key.prefix == "ttyS") {
        const std::string type = ReadFirstLine(sysTty / "type");
        return !type.empty() && ParseInt32(type) != 0;
    }
    return true;
}
}  // namespace

CComPortList::CComPortList() : CComPortList("/sys", "/dev") {}

CComPortList::CComPortList(const std::string& sysRoot, const std::string& devRoot) {
    const fs::path dev(devRoot);
    for (int i = 0; i < kFixedPorts; ++i) {
        const std::string name = FormatC("ttyS%d", i);
        m_ports.push_back({(dev / name).string(), name});
    }

    const std::map<std::string, std::string> byId = ByIdNames(dev / "serial" / "by-id");
    std::map<PortKey, ComPortInfo> found;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(sysRoot) / "class" / "tty", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        PortKey key;
        if (!SplitName(name, &key) || (key.prefix == "ttyS" && key.number < kFixedPorts)) continue;
        std::error_code nodeError;
        if (!IsSerialTty(it->path(), key) || !fs::exists(dev / name, nodeError)) continue;
        const auto link = byId.find(name);
        std::string display = link != byId.end() ? link->second : UsbName(it->path() / "device");
        if (display.empty()) {
            display = name;
        } else if (display.find(name) == std::string::npos) {
            display += " (" + name + ")";
        }
        found[key] = {(dev / name).string(), display};
    }
    for (auto& entry : found) m_ports.push_back(std::move(entry.second));
}

std::string CComPortList::GetPath(int i) const {
    return i >= 0 && i < GetCount() ? m_ports[static_cast<std::size_t>(i)].path : std::string();
}

std::string CComPortList::GetName(int i) const {
    return i >= 0 && i < GetCount() ? m_ports[static_cast<std::size_t>(i)].name : std::string();
}
