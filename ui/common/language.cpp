#include "ui/common/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdlib>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/language_module.h"
#include "platform/program_path.h"
#include "platform/resource_module.h"
#include "ui/common/profile_store.h"
#include "ui/framework/message_box.h"

namespace {
struct LanguageRow {
    const char* name;
    const char* module;  // null: the program's own resources
    unsigned locale;
};

constexpr LanguageRow kLanguages[] = {
    {"English", nullptr, kLocaleEnglish},
    {"Japanese", "Brimlow_jpn.so", kLocaleJapanese},
};
constexpr int kLanguageCount = static_cast<int>(std::size(kLanguages));

struct LanguageState {
    int current = -1;
    std::optional<unsigned> threadLocale;
    std::optional<std::string> moduleDirectory;
    std::unique_ptr<CLanguageModule> module;
    // Qt's own texts (standard buttons, the file dialog) in the language, when it is not English.
    std::unique_ptr<QTranslator> qtCatalog;
};

LanguageState& State() {
    static LanguageState state;
    return state;
}
}  // namespace

std::string GetLanguageName(int n) {
    if (static_cast<unsigned>(n) >= static_cast<unsigned>(kLanguageCount)) return std::string();
    return kLanguages[n].name;
}

unsigned LocaleFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::string_view(value).substr(0, 2) == "ja" ? kLocaleJapanese : kLocaleEnglish;
    }
    return kLocaleEnglish;
}

unsigned GetThreadLocale() {
    LanguageState& state = State();
    return state.threadLocale ? *state.threadLocale : LocaleFromEnvironment();
}

int GetLanguage() { return State().current; }

int GetShownLanguage() {
    const LanguageState& state = State();
    if (state.current < 0) return state.current;
    return kLanguages[state.current].module && !state.module ? 0 : state.current;
}

void SetLanguageModuleDirectory(const std::string& directory) { State().moduleDirectory = directory; }

void ReleaseLanguageModule() {
    SetCurrentResourceModule(nullptr);
    LanguageState& state = State();
    state.module.reset();
    if (state.qtCatalog) QCoreApplication::removeTranslator(state.qtCatalog.get());
    state.qtCatalog.reset();
}

namespace {
void LoadQtCatalog(LanguageState& state, unsigned locale) {
    if (locale != kLocaleJapanese || QCoreApplication::instance() == nullptr) return;
    auto catalog = std::make_unique<QTranslator>();
    // Without the catalog installed Qt's texts stay English; the program's own are translated anyway.
    if (!catalog->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    QCoreApplication::installTranslator(catalog.get());
    state.qtCatalog = std::move(catalog);
}
}  // namespace

void ResetLanguageState() {
    ReleaseLanguageModule();
    LanguageState& state = State();
    state.current = -1;
    state.threadLocale.reset();
}

void SetLanguage(int n) {
    LanguageState& state = State();
    if (n < 0) {
        n = 0;
        for (int row = 0; row < kLanguageCount; ++row) {
            if (kLanguages[row].locale == GetThreadLocale()) n = row;
        }
    }
    if (n >= kLanguageCount) return;
    state.current = n;
    ReleaseLanguageModule();
    if (const char* module = kLanguages[n].module) {
        const std::string directory = state.moduleDirectory ? *state.moduleDirectory : ProgramDirectory();
        state.module = CLanguageModule::Load(directory + "/" + module, &OwnResourceModule());
        if (state.module) {
            SetCurrentResourceModule(&state.module->Resources());
            LoadQtCatalog(state, kLanguages[n].locale);
        } else {
            AfxMessageBox("Can't load language module", MB_ICONERROR);
        }
    }
    StoreProfileInt("Lang", "Number", n);
    state.threadLocale = kLanguages[n].locale;
}
