#include "platform/resource_module.h"
#include "res/en/english_tables.h"
#include "ui/app/vort_app.h"

int main(int argc, char** argv) {
    // The English texts are the program's own; a language module only replaces what it carries.
    InstallOwnResources(EnglishResourceTables());
    CVORTApp app;
    return app.Run(argc, argv);
}
