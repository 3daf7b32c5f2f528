#pragma once

#include <string>
#include <vector>

// The custom sensor table a device keeps behind one ASCII item: a few head fields, each named by a letter
// ("S" start, "P" step, "Z" points ...), and 300 point values ("T<i>"). A sub-command with data stores it
// and echoes it; one without data reads it; anything malformed answers "E".
class CSimCustomTable {
public:
    static constexpr int kPoints = 300;

    // `letters` names the head fields in order; `fields` holds their first texts.
    CSimCustomTable(std::string letters, std::vector<std::string> fields, const std::string& pointText);

    std::string Answer(const std::string& data);

    std::string GetField(char letter) const;
    const std::string& GetPoint(int index) const { return m_points[static_cast<size_t>(index)]; }
    void SetPoint(int index, std::string text) { m_points[static_cast<size_t>(index)] = std::move(text); }

private:
    std::string m_letters;
    std::vector<std::string> m_fields;
    std::vector<std::string> m_points;
};
