#pragma once

#include <cstddef>

#include "platform/dialog_template.h"

// The data a resource module is made of: what the program's own tables and a language module hand over.

// One row of a string table: id -> UTF-8 text.
struct StringEntry {
    unsigned id;
    const char* text;
};

// What a language module hands over, all of it static data inside the module. The loader reads
// `version` first and uses nothing else when it differs from kResourceTablesVersion.
struct ResourceTables {
    unsigned version;
    const StringEntry* strings;
    std::size_t stringCount;
    const DialogTemplate* dialogs;
    std::size_t dialogCount;
};

// Raised whenever ResourceTables or the template types change their layout.
inline constexpr unsigned kResourceTablesVersion = 0x53520001;

// The C function a language module exports.
inline constexpr const char kResourceTablesSymbol[] = "BrimlowResourceTables";
extern "C" {
using ResourceTablesFunction = const ResourceTables* (*)();
}
