#pragma once
#include "device/HidController.h"

// The controller for real hardware: hidapi for the devices, udev for
// arrivals and removals.
std::unique_ptr<HidController> makeSystemHidController();
