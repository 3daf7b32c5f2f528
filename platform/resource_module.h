#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

#include "platform/dialog_template.h"

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

// A language's resources. The program's own module (English) is built in; a language module
// supplies another one. Texts are looked up by id; an id without text gives the empty text. A module
// may name a fallback (the program's own) for ids and templates it does not carry.
class CResourceModule {
public:
    CResourceModule(const StringEntry* strings, std::size_t count);
    explicit CResourceModule(const ResourceTables& tables, const CResourceModule* fallback = nullptr);

    std::string LoadString(unsigned id) const;
    bool HasString(unsigned id) const;
    // The template of a dialog, or null when neither this module nor its fallback has it.
    const DialogTemplate* FindDialog(unsigned id) const;

private:
    std::unordered_map<unsigned, const char*> m_strings;
    std::unordered_map<unsigned, const DialogTemplate*> m_dialogs;
    const CResourceModule* m_fallback = nullptr;
};

// The English resources that are part of the program.
const CResourceModule& OwnResourceModule();

// The module texts are loaded from. Switched only while no worker thread runs (language switch);
// null selects the program's own module again.
void SetCurrentResourceModule(const CResourceModule* module);
const CResourceModule& CurrentResourceModule();

// Text of a string id from the current module; empty when the id has no text.
std::string LoadString(unsigned id);
