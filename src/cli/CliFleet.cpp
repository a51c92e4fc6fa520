#include "cli/CliFleet.h"

#include "core/protocol/ReportTrace.h"
#include "session/ControllerSession.h"

#include <QThread>

#include <memory>

namespace {

CliOutcome prepare(CliNeeds needs, ControllerSession &session)
{
    if (needs != CliNeeds::Identified)
        return {};
    TDeviceReadouts readouts;
    bool identified = false;
    if (const SessionResult r = session.identify(readouts, &identified); !r.ok())
        return {r, CliError::Unsupported};
    // A controller without firmware gets no error box in the window, only
    // this read-out; here it is the reason the command stops.
    if (!identified)
        return CliOutcome::failed(readouts.Info, CliError::Unsupported);
    return {};
}

} // namespace

void RunOnController(ControllerSession &bus, ControllerSession &session, const CliCommand &command,
                     const CliContext &outer, CliReport &report)
{
    report.set("serial", toJson(session.serial()));
    const ControllerSession::Sequence whole(session);
    report.status = whole.result();
    if (report.status.ok())
        report.status = prepare(command.needs, session);
    if (!report.status.ok())
        return;
    CliContext ctx{bus, &session, outer.options, report, outer.output, outer.profile};
    report.status = command.run(ctx);
}

QList<std::pair<QString, CliReport>> RunOnEveryController(ControllerSession &bus, const CliCommand &command,
                                                         const CliContext &outer)
{
    struct Job {
        ControllerHandle entry;
        CliReport report;
        std::unique_ptr<QThread> thread;
    };
    std::vector<Job> jobs;
    for (const ControllerHandle &e : bus.controllerHandles())
        jobs.push_back({e, {}, nullptr});
    for (Job &job : jobs) {
        job.thread.reset(QThread::create([&job, &bus, &command, &outer] {
            // A session of its own on this thread, bound to this one controller.
            ControllerSession session(job.entry);
            if (outer.options.trace) {
                session.setTrace([&job](bool sent, const uint8_t *report) {
                    job.report.trace << ReportTraceLine(sent, report);
                });
            }
            RunOnController(bus, session, command, outer, job.report);
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
