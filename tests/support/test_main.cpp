#include <gtest/gtest.h>

#include "platform/resource_module.h"
#include "res/en/english_tables.h"

// The core test binaries see the program's English texts, as the program does after start-up.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    InstallOwnResources(EnglishResourceTables());
    return RUN_ALL_TESTS();
}
