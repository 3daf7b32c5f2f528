// A language module of another table layout: the loader must refuse it without reading its tables.
#include "platform/resource_module.h"

namespace {
const ResourceTables kTables{kResourceTablesVersion + 1, nullptr, 0, nullptr, 0};
}

extern "C" __attribute__((visibility("default"))) const ResourceTables* BrimlowResourceTables() {
    return &kTables;
}
