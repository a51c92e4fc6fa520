#include "cli/CliFleet.h"

#include "core/protocol/ReportTrace.h"
#include "device/uComHid.h"
#include "session/ControllerSession.h"

#include <QThread>

#include <memory>

namespace {

CliStatus prepare(CliNeeds needs, ControllerSession &session)
{
    if (needs != CliNeeds::Identified)
        return {};
    TDeviceReadouts readouts;
    bool identified = false;
    if (const SessionResult r = session.identify(readouts, &identified); !r.ok())
        return CliStatus::From(r);
    // A controller without firmware gets no error box in the window, only
    // this read-out; here it is the reason the command stops.
    if (!identified)
        return CliStatus::Failed(readouts.Info);
    return {};
}

} // namespace

void RunOnController(ControllerSession &session, TComHid &hid, const CliCommand &command, const CliOptions &options,
                     CliReport &report)
{
    report.set("serial", toJson(session.serial()));
    report.status = prepare(command.needs, session);
    if (!report.status.ok())
        return;
    CliContext ctx{hid, &session, options, report};
    report.status = command.run(ctx);
}

QList<std::pair<QString, CliReport>> RunOnEveryController(TComHid &bus, const CliCommand &command,
                                                         const CliOptions &options)
{
    struct Job {
        TDevListEntry entry;
        CliReport report;
        std::unique_ptr<QThread> thread;
    };
    std::vector<Job> jobs;
    for (const TDevListEntry &e : std::as_const(bus.devices()))
        jobs.push_back({e, {}, nullptr});
    for (Job &job : jobs) {
        job.thread.reset(QThread::create([&job, &command, &options] {
            // A transport of its own, bound to this one controller.
            TComHid hid(job.entry);
            if (options.trace) {
                hid.SetTrace([&job](bool sent, const uint8_t *report) {
                    job.report.trace << ReportTraceLine(sent, report);
                });
            }
            ControllerSession session(&hid);
            session.select(0);
            RunOnController(session, hid, command, options, job.report);
        }));
        job.thread->start();
    }
    QList<std::pair<QString, CliReport>> reports;
    for (Job &job : jobs) {
        job.thread->wait();
        reports.append({job.entry.Text, job.report});
    }
    return reports;
}
