#pragma once
#include "cli/CliOutput.h"
#include "cli/CliStatus.h"
#include "core/params/CfgData.h"

#include <QStringList>

// What a command works with.
class ControllerSession;
class TComHid;

struct CliContext {
    TComHid &hid;
    ControllerSession &session;
    CliOutput &out;
    QStringList args;
};

// How far the run prepares the controller before the command runs.
enum class CliNeeds {
    Bus,        // nothing chosen
    Controller, // chosen
    Identified, // chosen and identified
};

struct CliCommand {
    const char *name;
    CliNeeds needs;
    // Checks the arguments before anything touches a controller.
    bool (*check)(const QStringList &args, QString *error);
    CliStatus (*run)(CliContext &ctx);
};

// nullptr for an unknown name.
const CliCommand *FindCliCommand(const QString &name);

// The commands, grouped by what they do with the controller.
CliStatus RunList(CliContext &ctx);
CliStatus RunInfo(CliContext &ctx);
CliStatus RunGet(CliContext &ctx);
CliStatus RunSet(CliContext &ctx);
CliStatus RunSaveProfile(CliContext &ctx);
CliStatus RunLoadProfile(CliContext &ctx);
CliStatus RunRestart(CliContext &ctx);
CliStatus RunTestPattern(CliContext &ctx);
CliStatus RunResetDefaults(CliContext &ctx);

// Parameters as TAG=value lines (unsigned decimal), or as a JSON object
// under `key`.
void ReportParams(CliOutput &out, const QString &key, const QList<TCfgData> &params);

// All 21 parameter indexes in read order.
QList<int> AllParamIndexes();
