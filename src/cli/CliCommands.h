#pragma once
#include "cli/CliOptions.h"
#include "cli/CliReport.h"
#include "core/params/CfgData.h"
#include "core/params/ParamCodec.h"

class CliOutput;
class ControllerSession;
struct ParsedProfile;

// What a command works with: the session that follows the bus, the session
// of its controller (none for commands that need no controller), the
// options, and its report.
struct CliContext {
    ControllerSession &bus;
    ControllerSession *session;
    const CliOptions &options;
    CliReport &report;
    CliOutput *output = nullptr; // for commands that report as they go (watch)
    const ParsedProfile *profile = nullptr; // load-profile: the file, read once for every controller
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
    CliOutcome (*check)(const CliOptions &options);
    CliOutcome (*run)(CliContext &ctx);
};

// nullptr for an unknown name.
const CliCommand *findCliCommand(const QString &name);

CliOutcome runList(CliContext &ctx);
CliOutcome runInfo(CliContext &ctx);
CliOutcome runGet(CliContext &ctx);
CliOutcome runDescribe(CliContext &ctx);
CliOutcome runSet(CliContext &ctx);
CliOutcome runSaveProfile(CliContext &ctx);
CliOutcome runLoadProfile(CliContext &ctx);
CliOutcome runRestart(CliContext &ctx);
CliOutcome runTestPattern(CliContext &ctx);
CliOutcome runResetDefaults(CliContext &ctx);
CliOutcome runWatch(CliContext &ctx);

// Applies a profile to the session's controller with the window's rules;
// with `dryRun` only says what would change.
CliOutcome applyProfile(ControllerSession &session, const ParsedProfile &profile, const QString &file, bool dryRun,
                        CliReport &report);

// Parameters as TAG=value lines (unsigned decimal), or a JSON object under `key`.
void reportParams(CliReport &report, const char *key, const QList<TCfgData> &params);
// A field's value as JSON: a list's token, a number otherwise.
Json fieldJson(const ParamField &field, int64_t value);
// Every field that differs between `before` and `after`: JSON "changed" and
// "changes"; with `lines`, "name: before -> after" for the text output.
void reportChanges(CliReport &report, const FieldValues &before, const FieldValues &after, bool lines);
