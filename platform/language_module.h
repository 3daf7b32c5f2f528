#pragma once

#include <memory>
#include <string>

#include "platform/resource_module.h"

// A language module loaded from a shared object. It stays loaded as long as this object lives, so the
// resource module it gives must not be used after that.
class CLanguageModule {
public:
    ~CLanguageModule();
    CLanguageModule(const CLanguageModule&) = delete;
    CLanguageModule& operator=(const CLanguageModule&) = delete;

    // Loads the module at `path`; null when the file cannot be loaded, exports no tables or carries
    // tables of another layout version. Ids and templates it lacks come from `fallback`.
    static std::unique_ptr<CLanguageModule> Load(const std::string& path, const CResourceModule* fallback);

    const CResourceModule& Resources() const { return m_resources; }

private:
    CLanguageModule(void* handle, const ResourceTables& tables, const CResourceModule* fallback);

    void* m_handle;
    CResourceModule m_resources;
};
