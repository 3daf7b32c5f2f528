// The Japanese language module: the program's templates with Japanese texts and the Japanese string
// table, handed to the program through one exported function.
#include <iterator>
#include <string_view>

#include "platform/resource_tables.h"
#include "res/dialogs/dialog_ids.h"

namespace {
const StringEntry kStrings[] = {
#include "res/jpn/strings_model_core.inc"
#include "res/jpn/strings_files.inc"
#include "res/jpn/strings_main_dialog.inc"
#include "res/jpn/strings_link.inc"
#include "res/jpn/strings_tc.inc"
#include "res/jpn/strings_rtd.inc"
#include "res/jpn/strings_device.inc"
#include "res/jpn/strings_calibration.inc"
};

struct DialogText {
    const char* english;
    const char* japanese;
};

constexpr DialogText kDialogTexts[] = {
#include "res/jpn/dialog_texts.inc"
};

// Resolved while compiling: a template text without a Japanese row stops the build.
consteval const char* TR(const char* english) {
    for (const DialogText& text : kDialogTexts) {
        if (std::string_view(text.english) == english) return text.japanese;
    }
    throw "a dialog text has no Japanese row in res/jpn/dialog_texts.inc";
}
constexpr const char* NT(const char* text) { return text; }

#include "res/dialogs/dialog_templates.inc"

const ResourceTables kTables{kResourceTablesVersion, kStrings, std::size(kStrings), kDialogs,
                             std::size(kDialogs)};
}  // namespace

extern "C" __attribute__((visibility("default"))) const ResourceTables* BrimlowResourceTables() {
    return &kTables;
}
