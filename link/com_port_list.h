#pragma once

#include <string>
#include <vector>

struct ComPortInfo {
    std::string path;
    std::string name;
};

// The serial ports the user can choose: ttyS0..ttyS15 always, then every other serial tty the system
// reports, named by its /dev/serial/by-id link or its USB maker and product. Built once; a source that
// cannot be read is skipped silently.
class CComPortList {
public:
    static constexpr int kFixedPorts = 16;

    CComPortList();
    // Roots of the sysfs and device trees, so that a fake tree can stand in for the system's.
    CComPortList(const std::string& sysRoot, const std::string& devRoot);

    int GetCount() const { return static_cast<int>(m_ports.size()); }
    // "" when `i` is not an entry.
    std::string GetPath(int i) const;
    std::string GetName(int i) const;

private:
    std::vector<ComPortInfo> m_ports;
};
