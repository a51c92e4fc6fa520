// The controller's functions: restart, test pattern, reset to defaults.
#include "cli/CliCommands.h"

#include "device/DeviceFunctions.h"

#include <QThread>

CliStatus RunRestart(CliContext &ctx)
{
    const uint16_t r = RestartDevice(ctx.session.Hid(), ctx.session.Buf(), ctx.session.WriteWord());
    if (r != Status::Ok)
        return CliStatus::Failed(QStringLiteral("Restart Error = ") + ErrToStr(r));
    ctx.out.Line(QStringLiteral("%1 restarts").arg(ctx.session.Serial()));
    return {};
}

CliStatus RunTestPattern(CliContext &ctx)
{
    const uint16_t r = ActivateTestPattern(ctx.session.Hid(), ctx.session.Buf());
    if (r != Status::Ok)
        return CliStatus::Failed(QStringLiteral("Pattern Error = ") + ErrToStr(r));
    ctx.out.Line(QStringLiteral("%1 shows the test pattern").arg(ctx.session.Serial()));
    return {};
}

CliStatus RunResetDefaults(CliContext &ctx)
{
    const uint16_t r = ResetToDefaults(ctx.session.Hid(), ctx.session.Buf(), ctx.session.WriteWord());
    if (r != Status::Ok)
        return CliStatus::Failed(QStringLiteral("Reset Error = ") + ErrToStr(r));
    QThread::msleep(kResetSettleMs);
    QList<TCfgData> params;
    const CliStatus read = ctx.session.ReadAll(&params);
    if (read.ok())
        ReportParams(ctx.out, QStringLiteral("params"), params);
    return read;
}
