#include "sim/sim_custom_table.h"

#include <cstdlib>

namespace {
std::string TrimLeft(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}
}  // namespace

CSimCustomTable::CSimCustomTable(std::string letters, std::vector<std::string> fields,
                                 const std::string& pointText)
    : m_letters(std::move(letters)), m_fields(std::move(fields)), m_points(kPoints, pointText) {
    m_fields.resize(m_letters.size());
}

std::string CSimCustomTable::Answer(const std::string& data) {
    if (data.empty()) return "E";
    const char letter = data[0];
    if (letter == 'T') {
        char* end = nullptr;
        const long index = std::strtol(data.c_str() + 1, &end, 10);
        if (end == data.c_str() + 1 || index < 0 || index >= kPoints) return "E";
        std::string& value = m_points[static_cast<size_t>(index)];
        if (*end == 'D')
            value = end + 1;
        else if (*end != '\0')
            return "E";
        return "D" + value;
    }
    const size_t i = m_letters.find(letter);
    if (i == std::string::npos) return "E";
    if (data.size() > 1) m_fields[i] = TrimLeft(data.substr(1));
    return std::string("D") + letter + m_fields[i];
}

std::string CSimCustomTable::GetField(char letter) const {
    const size_t i = m_letters.find(letter);
    return i == std::string::npos ? std::string() : m_fields[i];
}
