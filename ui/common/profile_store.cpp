#include "ui/common/profile_store.h"

#include "platform/message_format.h"
#include "platform/profile.h"
#include "res/string_ids.h"
#include "ui/framework/message_box.h"

namespace {
bool Reported(bool written) {
    if (!written) AfxMessageBox(FormatMessageId(kStrProfileNotSaved, {ProfilePath()}), MB_ICONWARNING);
    return written;
}
}  // namespace

bool StoreProfileInt(const std::string& section, const std::string& key, int value) {
    return Reported(WriteProfileInt(section, key, value));
}

bool StoreProfileString(const std::string& section, const std::string& key, const std::string& value) {
    return Reported(WriteProfileString(section, key, value));
}
