#pragma once

#include <memory>

#include "model/device/device_type.h"
#include "model/set/par_base.h"

// The application: prepares the process, chooses the language, creates the file-side parameter set from
// the device type used last and shows the main dialog again as long as it asks to be rebuilt.
class CVORTApp {
public:
    // The whole program: makes the QApplication and runs until the main dialog closes.
    int Run(int argc, char** argv);

    // Before anything else: a write past the file-size limit fails with an error, as a full disk does,
    // instead of ending the program with a signal.
    static void PrepareProcess();
    // The steps of the start-up after the QApplication exists.
    // Chooses the language from "Lang"/"Number" (anything but 0 or 1 follows the thread locale).
    static void InitLanguage();
    // Type id stored in "Settings"/"DeviceId"; 2 (the RTD model) when absent.
    static int StoredDeviceTypeId();
    // A copy of the registry's set for the stored type id; type 2 when that id yields none.
    static std::unique_ptr<CParBase> CreateFileSideSet(CDeviceType& registry);
    // Shows the main dialog until it ends with anything but IDOK.
    static void RunDialogLoop();
};
