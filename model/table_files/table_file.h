#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A linearization table of at most 101 points (X and Y in percent) with its text file:
//   {
//   -2.0000, -2.0000
//   ...
//   }
// Reading skips empty lines and lines beginning with '/', ignores everything before the line beginning
// with '{' and after the one beginning with '}', and takes every block line that holds "x,y" (the
// comma right behind x) as a point; other block lines are ignored.
class CTableFile {
public:
    static constexpr std::size_t kMaxPoints = 101;

    virtual ~CTableFile() = default;

    std::size_t GetCount() const { return m_x.size(); }
    double GetX(std::size_t i) const { return m_x[i]; }
    double GetY(std::size_t i) const { return m_y[i]; }
    void Add(double x, double y);
    void RemoveAll();

    // Replaces the points by the file's. Throws CPrivateException: 30000 the file does not open,
    // 30002 no closing brace or no point, 30003 more than 101 points. The points read so far remain.
    void Load(const std::string& path);
    // Throws 30307 when the table has no point: its file would not load back.
    void CheckSavable() const;
    // Writes the points (CR LF line ends). Throws as CheckSavable before anything is written, 30000 when
    // no file can be made there, 30001 when writing fails; the file that stood there is then unchanged.
    void Save(const std::string& path) const;

private:
    std::vector<double> m_x;
    std::vector<double> m_y;
};
