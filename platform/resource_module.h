#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

#include "platform/resource_tables.h"

// A language's resources. The program's own module (English) is handed over at start-up; a language module
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

// The program's own (English) resources. The program hands its tables over once at start-up, before any
// text is loaded; until then the module is empty.
void InstallOwnResources(const ResourceTables& tables);
const CResourceModule& OwnResourceModule();

// The module texts are loaded from. Switched only while no worker thread runs (language switch);
// null selects the program's own module again.
void SetCurrentResourceModule(const CResourceModule* module);
const CResourceModule& CurrentResourceModule();

// Text of a string id from the current module; empty when the id has no text.
std::string LoadString(unsigned id);
