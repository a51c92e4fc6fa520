#pragma once
#include <QString>
#include <QStringList>

// What the command line asks for. Options may stand before or after the
// command; "--" ends the options.
struct CliOptions {
    QString device;        // serial number, matched without regard to case
    int simulate = 0;      // number of simulated controllers; 0 = USB
    QString simulateState; // state file of the simulated controllers
    bool trace = false;
    bool json = false;
    bool help = false;
    bool version = false;
    QString command;
    QStringList args;

    // Fills `options`; on a usage error returns false with the reason.
    static bool Parse(const QStringList &arguments, CliOptions *options, QString *error);
};

QString CliUsageText();
