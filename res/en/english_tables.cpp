#include "res/en/english_tables.h"

#include "res/en/dialog_table_en.h"
#include "res/en/string_table_en.h"

const ResourceTables& EnglishResourceTables() {
    static const ResourceTables tables{kResourceTablesVersion, EnglishStrings(), EnglishStringCount(),
                                       EnglishDialogs(), EnglishDialogCount()};
    return tables;
}
