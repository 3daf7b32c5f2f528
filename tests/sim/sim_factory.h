#pragma once

#include "sim/sim_model.h"

// The settings a device leaves the factory with, written straight into its registers: tag and serial
// "Default", 4 to 20 mA over the default range of the model's first input type, fine spans of 1, and for
// the models with an output stage burnout on at 23 mA, limits of 21.5 and 3.8 mA. Each model kind adds its
// own registers to the shared ones; a model's catalogue entry names the kind.

// Tag, serial, output range and fine adjustment: what every model holds.
void SimFactoryShared(CSimModel& model);

void SimFactoryRtd(CSimModel& model);
void SimFactoryThermocouple(CSimModel& model);
void SimFactoryTwoThermocouples(CSimModel& model);
void SimFactoryPotentiometer(CSimModel& model);
void SimFactoryMillivolt(CSimModel& model);
void SimFactoryResistance(CSimModel& model);
