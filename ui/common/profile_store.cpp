#include "ui/common/profile_store.h"

#include "platform/message_format.h"
#include "platform/profile.h"
#include "res/string_ids.h"
#include "ui/framework/message_box.h"

namespace {
// The profile the user was told could not be read; message boxes run on the UI thread only.
std::string g_toldUnreadable;

bool Told() { return g_toldUnreadable == ProfilePath(); }

// The first write refused because the profile could not be read says why; every other failure says
// that the setting was not saved.
bool Reported(bool written) {
    if (written) return true;
    if (ProfileUnreadable() && !Told()) {
        ReportUnreadableProfile();
    } else {
        AfxMessageBox(FormatMessageId(kStrProfileNotSaved, {ProfilePath()}), MB_ICONWARNING);
    }
    return false;
}
}  // namespace

bool StoreProfileInt(const std::string& section, const std::string& key, int value) {
    return Reported(WriteProfileInt(section, key, value));
}

bool StoreProfileString(const std::string& section, const std::string& key, const std::string& value) {
    return Reported(WriteProfileString(section, key, value));
}

void ReportUnreadableProfile() {
    if (!ProfileUnreadable() || Told()) return;
    g_toldUnreadable = ProfilePath();
    AfxMessageBox(FormatMessageId(kStrProfileNotRead, {ProfilePath()}), MB_ICONWARNING);
}
