#pragma once
#include "cli/CliCommands.h"

#include <QList>

#include <functional>

class CliOutput;

// One command on every controller attached, all at once: each controller
// gets its own thread and session, so its exchanges stay one sequence while
// the protocol waits of all of them overlap. Returns the reports by serial
// number, in the order of the device list. `outer` gives the options and
// what the run read once for all (a profile). `whileHeld` runs on this
// thread once every command has ended, while each controller is still held
// (the simulated controllers' state is saved there, before another program
// may take one of them).
QList<std::pair<QString, CliReport>> runOnEveryController(ControllerSession &bus, const CliCommand &command,
                                                         const CliContext &outer,
                                                         const std::function<void()> &whileHeld = {});

// Prepares the controller the session has selected as far as the command
// needs it, then runs the command into `report`, holding the controller
// for the whole command so no other program's change comes in between.
// `taken` runs once the controller is held (or could not be had),
// `beforeRelease` at the end while it is still held.
void runOnController(ControllerSession &bus, ControllerSession &session, const CliCommand &command,
                     const CliContext &outer, CliReport &report, const std::function<void()> &taken = {},
                     const std::function<void()> &beforeRelease = {});
