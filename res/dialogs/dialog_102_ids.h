#pragma once

#include "res/dialogs/control_ids.h"

// The main dialog's controls.
#define DIALOG_102_IDS(X) \
    X(kDeviceTab, 1005)   \
    X(kFileTab, 1006)     \
    X(kStatusText, 1013)  \
    X(kOpenFile, 1042)    \
    X(kSaveFile, 1043)    \
    X(kCompare, 1044)     \
    X(kUpload, 1045)      \
    X(kDownload, 1046)    \
    X(kSettings, 1047)    \
    X(kConnect, 1048)     \
    X(kInputCalib, 1049)  \
    X(kUnlock, 1050)      \
    X(kProgress, 1051)    \
    X(kOutputCalib, 1052) \
    X(kInitialize, 1053)  \
    X(kTrendGraph, 1054)  \
    X(kLanguage, 1055)    \
    X(kOnlineLabel, 1059) \
    X(kModelName, 1060)   \
    X(kSelect, 1061)      \
    X(kDeviceGroup, 1069) \
    X(kFileGroup, 1070)   \
    X(kModelLabel, 1071)  \
    X(kMeterPlace, 1073)

BRIMLOW_CONTROL_IDS(Dialog102Ids, DIALOG_102_IDS)
