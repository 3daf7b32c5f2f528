#include "ui/app/profile_store.h"

#include "platform/message_format.h"
#include "platform/profile.h"
#include "res/string_ids.h"
#include "ui/framework/message_box.h"

bool StoreProfileInt(const std::string& section, const std::string& key, int value) {
    if (WriteProfileInt(section, key, value)) return true;
    AfxMessageBox(FormatMessageId(kStrProfileNotSaved, {ProfilePath()}), MB_ICONWARNING);
    return false;
}
