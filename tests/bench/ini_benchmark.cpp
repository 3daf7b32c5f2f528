// Prints how long an INI text of 1 MiB and of 10 MiB takes to load and to answer 2000 lookups, and the
// ratios between the two: loading should grow with the size (about 10), a lookup not at all (about 1).
// Not a test: run it by hand (build/dev/tests/ini_benchmark) on the machine the figures are wanted for.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/ini_file.h"

namespace {
constexpr int kLookups = 2000;
constexpr int kKeysPerSection = 200;

double Milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

// Sections of parameter-file lines, as many as make `bytes`.
std::string Text(std::size_t bytes, int& sections) {
    std::string text;
    for (sections = 0; text.size() < bytes; ++sections) {
        text += "[S" + std::to_string(sections) + "]\r\n";
        for (int k = 0; k < kKeysPerSection; ++k) text += "P" + std::to_string(k) + "=-123.4567\r\n";
    }
    return text;
}

struct Figures {
    double loadMs;
    double lookupUs;
};

// Lookups spread over the whole text, the last section's included, a tenth of them for missing keys.
Figures Measure(std::size_t bytes) {
    int sections = 0;
    std::string text = Text(bytes, sections);
    CIniFile ini;
    const double load = Milliseconds([&] { ini = CIniFile(std::move(text)); });
    std::size_t found = 0;
    const double lookups = Milliseconds([&] {
        for (int i = 0; i < kLookups; ++i) {
            const std::string section = "S" + std::to_string((i * 7919) % sections);
            const std::string key = "P" + std::to_string(i % 10 == 0 ? kKeysPerSection : i % kKeysPerSection);
            found += ini.GetString(section, key, "", 255).size();
        }
    });
    std::printf("%5.1f MiB: load %8.2f ms, %d lookups %8.2f ms (%.2f us each, %zu bytes found)\n",
                static_cast<double>(bytes) / (1 << 20), load, kLookups, lookups, lookups * 1000 / kLookups,
                found);
    return {load, lookups * 1000 / kLookups};
}
}  // namespace

int main() {
    const Figures small = Measure(std::size_t{1} << 20);
    const Figures large = Measure(std::size_t{10} << 20);
    std::printf("load ratio %.1f (linear: about 10), per-lookup ratio %.2f (size-independent: about 1)\n",
                large.loadMs / small.loadMs, large.lookupUs / small.lookupUs);
    return 0;
}
