#pragma once
#include "cli/CliOptions.h"
#include "cli/CliReport.h"
#include "core/params/CfgData.h"
#include "core/params/ParamCodec.h"

class CliOutput;
class ControllerSession;

// What a command works with: the session that follows the bus, the session
// of its controller (none for commands that need no controller), the
// options, and its report.
struct CliContext {
    ControllerSession &bus;
    ControllerSession *session;
    const CliOptions &options;
    CliReport &report;
    CliOutput *output = nullptr; // for commands that report as they go (watch)
};

// How far a controller is prepared before the command runs.
enum class CliNeeds {
    Nothing,    // no bus either
    Bus,        // the bus, no controller chosen
    Controller, // chosen
    Identified, // chosen and identified
};

struct CliCommand {
    const char *name;
    CliNeeds needs;
    bool fleet; // may run on every controller with --all
    // Checks the arguments before anything touches a controller.
    bool (*check)(const CliOptions &options, QString *error);
    CliStatus (*run)(CliContext &ctx);
};

// nullptr for an unknown name.
const CliCommand *FindCliCommand(const QString &name);

CliStatus RunList(CliContext &ctx);
CliStatus RunInfo(CliContext &ctx);
CliStatus RunGet(CliContext &ctx);
CliStatus RunDescribe(CliContext &ctx);
CliStatus RunSet(CliContext &ctx);
CliStatus RunSaveProfile(CliContext &ctx);
CliStatus RunLoadProfile(CliContext &ctx);
CliStatus RunRestart(CliContext &ctx);
CliStatus RunTestPattern(CliContext &ctx);
CliStatus RunResetDefaults(CliContext &ctx);
CliStatus RunWatch(CliContext &ctx);

// Applies a profile to the session's controller with the window's rules.
CliStatus ApplyProfile(ControllerSession &session, const QString &file, CliReport &report);

// Parameters as TAG=value lines (unsigned decimal), or a JSON object under `key`.
void ReportParams(CliReport &report, const char *key, const QList<TCfgData> &params);
// Fields as name=value lines, or a JSON object of numbers and tokens.
void ReportFields(CliReport &report, const FieldValues &values, const QList<FieldId> &fields);
