#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

// One row of a string table: id -> UTF-8 text.
struct StringEntry {
    unsigned id;
    const char* text;
};

// A language's resources. The program's own module (English) is built in; a language module
// supplies another one. Texts are looked up by id; an id without text gives the empty text.
class CResourceModule {
public:
    CResourceModule(const StringEntry* strings, std::size_t count);

    std::string LoadString(unsigned id) const;
    bool HasString(unsigned id) const;

private:
    std::unordered_map<unsigned, const char*> m_strings;
};

// The English resources that are part of the program.
const CResourceModule& OwnResourceModule();

// The module texts are loaded from. Switched only while no worker thread runs (language switch);
// null selects the program's own module again.
void SetCurrentResourceModule(const CResourceModule* module);
const CResourceModule& CurrentResourceModule();

// Text of a string id from the current module; empty when the id has no text.
std::string LoadString(unsigned id);
