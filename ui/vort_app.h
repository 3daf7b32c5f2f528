#pragma once

#include <functional>
#include <memory>

#include "model/par_base.h"

// Makes the file-side parameter set of a device type id; none for an id it does not know.
using ParameterSetFactory = std::function<std::unique_ptr<CParBase>(int typeId)>;

// The application: prepares the process, chooses the language, creates the file-side parameter set from
// the device type used last and shows the main dialog again as long as it asks to be rebuilt.
class CVORTApp {
public:
    // The whole program: makes the QApplication and runs until the main dialog closes.
    int Run(int argc, char** argv);

    // The steps of the start-up after the QApplication exists.
    // Chooses the language from "Lang"/"Number" (anything but 0 or 1 follows the thread locale).
    static void InitLanguage();
    // Type id stored in "Settings"/"DeviceId"; 2 (the RTD model) when absent.
    static int StoredDeviceTypeId();
    // The file-side set of the stored type, or of type 2 when the factory knows none for it.
    static std::unique_ptr<CParBase> CreateFileSideSet(const ParameterSetFactory& factory);
    // Shows the main dialog until it ends with anything but IDOK.
    static void RunDialogLoop();

    // Where start-up gets its parameter sets from; none until the model registry is installed.
    static void SetParameterSetFactory(ParameterSetFactory factory);
};
