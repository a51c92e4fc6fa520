#pragma once
#include <QString>

class SimBus;

// Faults for simulated controllers as a command line gives them, so scripted
// checks can drive every failure path through the real programs:
//   SERIAL:ACTION[,SERIAL:ACTION...]
// with ACTION one of
//   unplug-after=K          leaves the bus at its K-th feature-report transfer
//                           (sets and gets counted from 1)
//   fail-after=K            from the K-th transfer on every transfer fails; it stays listed
//   unplug-at=MS, replug-at=MS   leaves or rejoins the bus MS milliseconds after start
//   refuse-read=TAG:STATUS, refuse-write=TAG:STATUS
//                           answers reads or writes of TAG with the status byte
//                           (0x80 to 0xFF, e.g. 0xC4)
//   never-ready             answers "not ready" for ever
//   wrong-echo              echoes another command byte
// Applies nothing and says why for an unknown serial number or action.
bool applySimFaults(SimBus &bus, const QString &faults, QString *error);

// The option's help lines for a program's --help, descriptions starting at
// `column` so each program keeps its own alignment.
QString simFaultsHelp(int column);
