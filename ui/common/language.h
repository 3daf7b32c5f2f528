#pragma once

#include <string>

// The languages the user interface can run in: row 0 English (the program's own resources), row 1
// Japanese (the language module beside the program).
inline constexpr unsigned kLocaleEnglish = 0x0400;
inline constexpr unsigned kLocaleJapanese = 0x0411;

// Display name of row n; empty for a row that does not exist.
std::string GetLanguageName(int n);

// Switches the user interface to row n, or to the row of the thread locale when n is negative. A row
// that does not exist changes nothing. A module that cannot be loaded is reported once and the own
// resources stay; the requested row is still stored in the profile ("Lang"/"Number").
void SetLanguage(int n);
// The current row; -1 before the first SetLanguage.
int GetLanguage();
// The row whose texts are shown: the current row, or 0 while its module could not be loaded.
int GetShownLanguage();

// The thread locale: set by SetLanguage; until then from the environment (Japanese when LC_ALL,
// LC_MESSAGES or LANG, the first of them that is set, starts with "ja").
unsigned GetThreadLocale();
unsigned LocaleFromEnvironment();

// Where the language module is looked for; the program's own folder unless set otherwise.
void SetLanguageModuleDirectory(const std::string& directory);

// Unloads a language module and returns to the own resources; called before the program ends.
void ReleaseLanguageModule();
// Forgets every choice, as at the start of the program (for tests).
void ResetLanguageState();
