#pragma once
#include <QString>
#include <QStringList>

// What a corvane-cli command line asks for. Options may stand before or
// after the command; "--" ends them.
struct CliOptions {
    QString device;         // serial number, matched without regard to case
    bool all = false;       // every controller attached
    int simulate = 0;       // number of simulated controllers; 0 = USB
    QString simulateState;  // state file of the simulated controllers
    QString simulateFaults; // faults of simulated controllers, SERIAL:ACTION[,...]
    bool trace = false;
    bool json = false;
    bool raw = false;       // set: take tag values as they are
    bool fields = false;    // get: named fields instead of tags
    bool dryRun = false;    // set, load-profile: say what would change, write nothing
    bool verbose = false;   // the programs' own log lines on standard error
    QString apply;          // watch: profile to apply to arriving controllers
    bool help = false;
    bool version = false;
    QString command;
    QStringList args;

    // Fills `options`; on a usage error returns false with the reason.
    static bool parse(const QStringList &arguments, CliOptions *options, QString *error);
};

QString cliHelpText();

inline constexpr int kMaxSimulated = 16;
