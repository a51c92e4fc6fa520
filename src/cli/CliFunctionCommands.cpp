// The controller's functions: restart, test pattern, reset to defaults.
#include "cli/CliCommands.h"

#include "session/ControllerSession.h"

CliOutcome runRestart(CliContext &ctx)
{
    if (const SessionResult r = ctx.session->restart(ctx.session->ticket()); !r.ok())
        return r;
    ctx.report.line(QStringLiteral("%1 restarts").arg(ctx.session->serial()));
    return {};
}

CliOutcome runTestPattern(CliContext &ctx)
{
    if (const SessionResult r = ctx.session->testPattern(ctx.session->ticket()); !r.ok())
        return r;
    ctx.report.line(QStringLiteral("%1 shows the test pattern").arg(ctx.session->serial()));
    return {};
}

CliOutcome runResetDefaults(CliContext &ctx)
{
    // The session reads the defaults back after the settle time.
    const SessionResult r = ctx.session->resetDefaults(ctx.session->ticket());
    if (r.ok())
        reportParams(ctx.report, "params", ctx.session->params());
    return r;
}
