#pragma once
#include <QStringList>
#include <QTextStream>

class SimBus;

// Runs one corvane-cli command line (arguments[0] is the program) and
// returns the exit code. Needs a QCoreApplication.
//
// With `bus`, the controllers on that bus are used instead of USB whatever
// --simulate says, and their state is the caller's business. Without it,
// --simulate[=N] creates N simulated controllers that keep their settings
// in the state file.
int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err, SimBus *bus = nullptr);
