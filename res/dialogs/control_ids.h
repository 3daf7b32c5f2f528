#pragma once

// Control ids are named once per dialog, in res/dialogs/dialog_<id>_ids.h, as a list:
//
//   #define DIALOG_102_IDS(X) X(kConnect, 1048) X(kSettings, 1047) ...
//   BRIMLOW_CONTROL_IDS(Dialog102Ids, DIALOG_102_IDS)
//
// which makes `struct Dialog102Ids` with one enumerator per control and `kAll`, every id of the list.
// The template and the dialog class both use the names; a test checks that each template places every
// id its list names, in both languages, so an id that the class uses and the template lacks fails the
// build's tests instead of being skipped silently at run time.
#define BRIMLOW_CONTROL_ID_ENUMERATOR(name, value) name = value,
#define BRIMLOW_CONTROL_ID_VALUE(name, value) value,
#define BRIMLOW_CONTROL_IDS(type, list)                                 \
    struct type {                                                       \
        enum : int { list(BRIMLOW_CONTROL_ID_ENUMERATOR) };             \
        static constexpr int kAll[] = {list(BRIMLOW_CONTROL_ID_VALUE)}; \
    };
