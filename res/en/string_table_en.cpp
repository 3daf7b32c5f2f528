#include "res/en/string_table_en.h"

#include <iterator>

namespace {
// Each area keeps its texts in its own include file.
const StringEntry kStrings[] = {
#include "res/en/strings_model_core.inc"
#include "res/en/strings_link.inc"
#include "res/en/strings_files.inc"
#include "res/en/strings_main_dialog.inc"
#include "res/en/strings_tc.inc"
#include "res/en/strings_rtd.inc"
#include "res/en/strings_device.inc"
#include "res/en/strings_calibration.inc"
};
}  // namespace

const StringEntry* EnglishStrings() { return kStrings; }
std::size_t EnglishStringCount() { return std::size(kStrings); }
