#include "platform/language_module.h"

#include <dlfcn.h>

CLanguageModule::CLanguageModule(void* handle, const ResourceTables& tables, const CResourceModule* fallback)
    : m_handle(handle), m_resources(tables, fallback) {}

CLanguageModule::~CLanguageModule() { dlclose(m_handle); }

std::unique_ptr<CLanguageModule> CLanguageModule::Load(const std::string& path,
                                                       const CResourceModule* fallback) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    // A data pointer from dlsym is the documented POSIX way to reach a function.
    auto function = reinterpret_cast<ResourceTablesFunction>(dlsym(handle, kResourceTablesSymbol));
    const ResourceTables* tables = function ? function() : nullptr;
    if (!tables || tables->version != kResourceTablesVersion) {
        dlclose(handle);
        return nullptr;
    }
    return std::unique_ptr<CLanguageModule>(new CLanguageModule(handle, *tables, fallback));
}
