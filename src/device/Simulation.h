#pragma once
#include "device/SimBus.h"

#include <QString>

#include <memory>

class SimState;

// Simulated controllers for a run of either program: `count` sane ones
// ("SIM0001", ...) on a bus of their own, their settings kept in the state
// file at `statePath` (empty: the per-user default), the faults of
// --simulate-faults applied.
struct Simulation {
    std::unique_ptr<SimBus> bus;
    SimState *state = nullptr; // owned by the bus; null without controllers
    QString warning;           // the state file could not be used (factory settings instead)
    QString error;             // the faults cannot be applied; nothing was started

    bool ok() const { return error.isEmpty(); }
};

// Starts nothing for a count of 0 (real hardware), which takes no faults.
Simulation startSimulation(int count, const QString &statePath, const QString &faults);
