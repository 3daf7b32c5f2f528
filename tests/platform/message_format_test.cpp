#include "platform/message_format.h"

#include <gtest/gtest.h>

#include "platform/resource_module.h"

TEST(MessageFormat, NumberedInserts) {
    struct Case {
        const char* pattern;
        const char* out;
    } cases[] = {
        {"%1 should be a from %2 to %3. ", "a should be a from 7 to x. "},
        {"%1!s! and %2!d!", "a and 7"},
        {"%2!5d!|", "    7|"},
        {"100%% sure", "100% sure"},
        {"%4 missing", " missing"},
        {"line%nbreak", "line\r\nbreak"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatMessageText(c.pattern, {"a", 7, "x"}), c.out) << c.pattern;
}

TEST(MessageFormat, InsertedTextIsNeverScannedAgain) {
    EXPECT_EQ(FormatMessageText("<%1>", {"%2 %% %1"}), "<%2 %% %1>");
}

TEST(ResourceModule, UnknownIdGivesEmptyTextAndKnownIdItsText) {
    EXPECT_EQ(LoadString(999999), "");
    EXPECT_EQ(LoadString(205), "%1 should be a from %2 to %3. ");
}
