#include "model/set/custom_table_title.h"

#include "model/set/par_base.h"
#include "platform/admin_mode.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

std::string CustomTableTitle(int32_t group, int32_t variant) {
    if (group != kGroupTable) return std::string();
    if (variant == 0) return LoadString(kStrTableFileTitle);
    if (variant == 1 && IsAdminMode()) return LoadString(kStrRtdTableTitle);
    return std::string();
}
