#include "platform/resource_module.h"

#include <atomic>

CResourceModule::CResourceModule(const StringEntry* strings, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) m_strings.emplace(strings[i].id, strings[i].text);
}

CResourceModule::CResourceModule(const ResourceTables& tables, const CResourceModule* fallback)
    : CResourceModule(tables.strings, tables.stringCount) {
    for (std::size_t i = 0; i < tables.dialogCount; ++i)
        m_dialogs.emplace(tables.dialogs[i].id, &tables.dialogs[i]);
    m_fallback = fallback;
}

std::string CResourceModule::LoadString(unsigned id) const {
    auto it = m_strings.find(id);
    if (it != m_strings.end()) return std::string(it->second);
    return m_fallback ? m_fallback->LoadString(id) : std::string();
}

bool CResourceModule::HasString(unsigned id) const { return m_strings.count(id) != 0; }

const DialogTemplate* CResourceModule::FindDialog(unsigned id) const {
    auto it = m_dialogs.find(id);
    if (it != m_dialogs.end()) return it->second;
    return m_fallback ? m_fallback->FindDialog(id) : nullptr;
}

namespace {
// Replaced in place, so that language modules holding it as their fallback keep a valid reference.
CResourceModule& OwnModule() {
    static CResourceModule own(nullptr, 0);
    return own;
}
}  // namespace

void InstallOwnResources(const ResourceTables& tables) { OwnModule() = CResourceModule(tables); }

const CResourceModule& OwnResourceModule() { return OwnModule(); }

namespace {
std::atomic<const CResourceModule*> g_current{nullptr};
}

void SetCurrentResourceModule(const CResourceModule* module) { g_current.store(module); }

const CResourceModule& CurrentResourceModule() {
    const CResourceModule* module = g_current.load();
    return module ? *module : OwnResourceModule();
}

std::string LoadString(unsigned id) { return CurrentResourceModule().LoadString(id); }
