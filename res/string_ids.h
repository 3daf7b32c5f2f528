#pragma once

// Names of the string-table ids that code uses. The texts are in res/en and res/jpn; an id gets its name
// here, once, in the section of its area.
enum StringId : unsigned {
    // Main dialog
    kStrConfigFileFilter = 100,
    kStrLoadFileFailed = 207,
    kStrOffline = 216,
    kStrSearching = 217,
    kStrUploading = 218,
    kStrDownloading = 219,
    kStrCannotCompare = 220,
    kStrCannotDownload = 221,
    kStrInitializeQuestion = 222,
    kStrInitializeDone = 223,
    kStrConnect = 13000,
    kStrDisconnect = 13001,
    kStrOfflineLabel = 13100,
    kStrOnlineLabel = 13101,
    // Serial line and ASCII protocol
    kStrReplyTimeout = 300,
    kStrBadGReply = 301,
    kStrBadIReply = 302,
    kStrBadDReply = 303,
    kStrPortOpenFailed = 305,
    kStrPortSettingsFailed = 306,
    kStrPortLost = 307,
    // Modbus: the failure and its reason
    kStrModbusTimeout = 11011,
    kStrModbusInvalidResponse = 11012,
    kStrModbusCrcError = 11013,
    kStrModbusException = 11014,
    kStrModbusFailed = 11015,
    // Parameter values refused
    kStrValueRange = 205,
    kStrDampingRange = 212,
    kStrFileModelMismatch = 213,
    kStrBadCustomRtdTable = 215,
    kStrInputTypeUnsupported = 224,
    kStrRtdResistanceTooLarge = 225,
    kStrBadCustomTcTable = 226,
    kStrTagCharacters = 227,
    kStrValueEitherWindow = 228,
    kStrTcFirstValueTooLarge = 229,
    kStrTcCjVoltageTooLarge = 230,
    // Parameter names, choices and table titles; a choice list is named by its first text, the others follow
    kStrResistancePoint = 1006,
    kStrVoltagePoint = 1025,
    kStrLinearizerX = 1302,
    kStrLinearizerY = 1303,
    kStrRtdInputChoices = 2015,
    kStrTcInputChoices = 2030,
    kStrMillivoltInputChoices = 2055,
    kStrResistanceInputChoices = 2060,
    kStrBurnoutChoices = 2105,  // "None", then "Output fixed value"
    kStrSensorWireChoices = 2110,
    kStrCustomTypeChoices = 2115,
    kStrTerminalChoices = 2130,
    kStrVoltageRangeChoices = 2135,
    kStrVoltPeriodChoices = 2137,
    kStrMillivoltRangeChoices = 2141,
    kStrResistanceRangeChoices = 2143,
    kStrTableFileTitle = 3000,
    kStrRtdTableTitle = 3001,
    kStrTcCjTableTitle = 3002,
    // Units
    kStrTemperatureUnits = 11000,  // deg C, deg F, K in the order of the temperature unit codes
    kStrUnitMilliampere = 11003,
    kStrUnitMillivolt = 11004,
    kStrUnitVolt = 11005,
    kStrUnitPercent = 11006,
    kStrUnitOhm = 11007,
    kStrUnitSecond = 11009,
    // Device status
    kStrStatusNormal = 12000,
    kStrStatusBurnout = 12001,
    kStrStatusLooptest = 12002,
    kStrStatusAdError = 12003,
    kStrStatusRomError = 12004,
    // Table and parameter files
    kStrTableOpenFailed = 30000,
    kStrTableWriteFailed = 30001,
    kStrTableBadStructure = 30002,
    kStrTableTooManyPoints = 30003,
    kStrParameterSaveFailed = 30010,
    kStrParameterOpenFailed = 30020,
    kStrRtdFileOpenFailed = 30300,
    kStrRtdFileWriteFailed = 30301,
    kStrRtdFileBadStructure = 30302,
    kStrRtdFileTooManyValues = 30303,
    kStrRtdFileBadStart = 30304,
    kStrRtdFileBadStep = 30305,
    kStrRtdFileBadOrder = 30306,
    // Device transfers
    kStrOutputStillHeld = 11030,
    kStrOutputHoldReleased = 11031,
    kStrLoopTestHoldsOutput = 11032,
    // User profile
    kStrProfileNotSaved = 30400,
    // Calibration dialogs
    kStrCommunicationError = 206,
    kStrSelectType = 1999,
    kStrDcInputChoices = 2000,     // the three input types the input calibration offers
    kStrOutputTypeChoices = 2050,  // the three output types the output calibration offers
    // Trend graph
    kStrPrintFailed = 30500,
    // Comparison dialog
    kStrColumnFile = 12502,
    kStrColumnDevice = 12503,
    kStrColumnGroup = 12504,
    kStrColumnName = 12506,
    kStrAllMatching = 30100,
    kStrNotMatching = 30101,
};
