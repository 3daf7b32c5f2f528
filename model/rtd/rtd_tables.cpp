#include "model/rtd/rtd_tables.h"

std::span<const double> RtdReferenceTable(int32_t inputType) {
    switch (inputType) {
        case 0: return kPt100Table;
        case 1: return kJPt100Table;
        case 2: return kPt500Table;
        case 3: return kPt1000Table;
        default: return {};
    }
}
