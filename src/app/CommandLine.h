#pragma once
#include <QString>
#include <QStringList>

// What the command line asks of the window program. Arguments it does not
// know are ignored, so a desktop launcher passing extra ones never stops it;
// its own options with a bad value are a usage error.
struct CommandLine {
    bool help = false;
    bool version = false;
    bool trace = false;
    int simulate = 0;            // number of simulated controllers; 0 = real hardware
    QString simulateState;       // state file of the simulated controllers
    QString simulateFaults;      // faults of simulated controllers, SERIAL:ACTION[,...]
    bool developerMode = false;  // exactly one argument, equal to the developer code
    QString error;               // set for a usage error

    static CommandLine parse(const QStringList &arguments); // arguments[0] is the program
};

// The developer code: a fixed seven-digit number.
inline const QString kDeveloperCode = QStringLiteral("1104790");

QString usageText(const QString &program);
