#pragma once

// Names of the string-table ids that code uses. The texts are in res/en and res/jpn; an id gets its name
// here, once, in the section of its area.
enum StringId : unsigned {
    // Main dialog
    kStrOffline = 216,
    kStrConnect = 13000,
    kStrDisconnect = 13001,
    kStrOfflineLabel = 13100,
    kStrOnlineLabel = 13101,
};
