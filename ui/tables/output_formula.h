#pragma once

#include <string>

class CParBase;

// The output (mA) that the set's input and output ranges give at `celsius`, limited to 1.6 to 21.6 mA,
// as "%.4lf"; "-----" when the 0 % and 100 % inputs are equal and the output has no slope to follow.
class COutputFormula {
public:
    explicit COutputFormula(const CParBase& set);
    std::string Text(double celsius) const;

private:
    double m_in0;
    double m_in100;
    double m_out0;
    double m_out100;
};
