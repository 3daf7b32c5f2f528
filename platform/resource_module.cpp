#include "platform/resource_module.h"

#include <atomic>

#include "res/en/string_table_en.h"

CResourceModule::CResourceModule(const StringEntry* strings, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) m_strings.emplace(strings[i].id, strings[i].text);
}

std::string CResourceModule::LoadString(unsigned id) const {
    auto it = m_strings.find(id);
    return it == m_strings.end() ? std::string() : std::string(it->second);
}

bool CResourceModule::HasString(unsigned id) const { return m_strings.count(id) != 0; }

const CResourceModule& OwnResourceModule() {
    static const CResourceModule own(EnglishStrings(), EnglishStringCount());
    return own;
}

namespace {
std::atomic<const CResourceModule*> g_current{nullptr};
}

void SetCurrentResourceModule(const CResourceModule* module) { g_current.store(module); }

const CResourceModule& CurrentResourceModule() {
    const CResourceModule* module = g_current.load();
    return module ? *module : OwnResourceModule();
}

std::string LoadString(unsigned id) { return CurrentResourceModule().LoadString(id); }
