#include "res/en/dialog_table_en.h"
#include "res/dialogs/dialog_ids.h"

#include <iterator>

namespace {
// The templates are written in English.
constexpr const char* TR(const char* text) { return text; }
constexpr const char* NT(const char* text) { return text; }

#include "res/dialogs/dialog_templates.inc"
}  // namespace

const DialogTemplate* EnglishDialogs() { return kDialogs; }
std::size_t EnglishDialogCount() { return std::size(kDialogs); }
