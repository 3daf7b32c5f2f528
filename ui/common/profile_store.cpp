#include "ui/common/profile_store.h"

#include <optional>

#include "link/file_write_failure.h"
#include "platform/message_format.h"
#include "platform/profile.h"
#include "res/string_ids.h"
#include "ui/framework/message_box.h"

namespace {
// The profile the user was told could not be read; message boxes run on the UI thread only.
std::string g_toldUnreadable;

bool Told() { return g_toldUnreadable == ProfilePath(); }

// What was not saved and where; for a refused write also why, which the user can mend.
std::string NotSavedMessage(WriteFileResult result) {
    std::string message = FormatMessageId(kStrProfileNotSaved, {ProfilePath()});
    if (const std::optional<std::string> refused = RefusedWriteMessage(result, ProfilePath()))
        message += "\n" + *refused;
    return message;
}

// The first write refused because the profile could not be read says why; every other failure says
// that the setting was not saved.
bool Reported(bool written, WriteFileResult result) {
    if (written) return true;
    if (ProfileUnreadable() && !Told()) {
        ReportUnreadableProfile();
    } else {
        AfxMessageBox(NotSavedMessage(result), MB_ICONWARNING);
    }
    return false;
}
}  // namespace

bool StoreProfileInt(const std::string& section, const std::string& key, int value) {
    WriteFileResult result = WriteFileResult::kWriteFailed;
    const bool written = WriteProfileInt(section, key, value, &result);
    return Reported(written, result);
}

bool StoreProfileString(const std::string& section, const std::string& key, const std::string& value) {
    WriteFileResult result = WriteFileResult::kWriteFailed;
    const bool written = WriteProfileString(section, key, value, &result);
    return Reported(written, result);
}

void ReportUnreadableProfile() {
    if (!ProfileUnreadable() || Told()) return;
    g_toldUnreadable = ProfilePath();
    AfxMessageBox(FormatMessageId(kStrProfileNotRead, {ProfilePath()}), MB_ICONWARNING);
}
