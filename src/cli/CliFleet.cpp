#include "cli/CliFleet.h"

#include "core/protocol/ReportTrace.h"
#include "session/ControllerSession.h"

#include <QSemaphore>
#include <QThread>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

CliOutcome prepare(CliNeeds needs, ControllerSession &session)
{
    if (needs != CliNeeds::Identified)
        return {};
    DeviceReadouts readouts;
    bool identified = false;
    if (const SessionResult r = session.identify(readouts, &identified); !r.ok())
        return {r, CliError::Unsupported};
    // A controller without firmware gets no error box in the window, only
    // this read-out; here it is the reason the command stops.
    if (!identified)
        return CliOutcome::failed(readouts.info, CliError::Unsupported);
    return {};
}

} // namespace

void runOnController(ControllerSession &bus, ControllerSession &session, const CliCommand &command,
                     const CliContext &outer, CliReport &report, const std::function<void()> &taken,
                     const std::function<void()> &beforeRelease)
{
    report.set("serial", toJson(session.serial()));
    const ControllerSession::Sequence whole(session);
    if (taken)
        taken();
    // Runs on every way out, while the controller is still held.
    const std::unique_ptr<void, std::function<void(void *)>> stillHeld(&session, [&](void *) {
        if (beforeRelease)
            beforeRelease();
    });
    report.status = whole.result();
    if (report.status.ok())
        report.status = prepare(command.needs, session);
    if (!report.status.ok())
        return;
    CliContext ctx{bus, &session, outer.options, report, outer.output, outer.profile};
    report.status = command.run(ctx);
}

QList<std::pair<QString, CliReport>> runOnEveryController(ControllerSession &bus, const CliCommand &command,
                                                         const CliContext &outer,
                                                         const std::function<void()> &whileHeld)
{
    struct Job {
        ControllerHandle entry;
        CliReport report;
        std::unique_ptr<QThread> thread;
    };
    std::vector<Job> jobs;
    for (const ControllerHandle &e : bus.controllerHandles())
        jobs.push_back({e, {}, nullptr});
    // Every controller stays held until `whileHeld` has run for all of them,
    // so they are taken one after the other in the order of their serial
    // numbers: two such commands at once never each hold a controller the
    // other waits for.
    std::vector<Job *> byTurn;
    for (Job &job : jobs)
        byTurn.push_back(&job);
    std::stable_sort(byTurn.begin(), byTurn.end(), [](const Job *a, const Job *b) { return a->entry.text < b->entry.text; });
    std::vector<QSemaphore> turns(jobs.size() + 1);
    turns[0].release();
    QSemaphore done;
    QSemaphore release;
    for (std::size_t turn = 0; turn < byTurn.size(); ++turn) {
        Job &job = *byTurn[turn];
        job.thread.reset(QThread::create([&job, &bus, &command, &outer, &done, &release, &turns, turn] {
            // A session of its own on this thread, bound to this one controller.
            ControllerSession session(job.entry);
            if (outer.options.trace) {
                session.setTrace([&job](bool sent, const uint8_t *report) {
                    job.report.trace << reportTraceLine(sent, report);
                });
            }
            turns[turn].acquire();
            runOnController(
                bus, session, command, outer, job.report, [&] { turns[turn + 1].release(); },
                [&] {
                    done.release();
                    release.acquire();
                });
        }));
        job.thread->start();
    }
    done.acquire(int(jobs.size()));
    if (whileHeld)
        whileHeld();
    release.release(int(jobs.size()));
    QList<std::pair<QString, CliReport>> reports;
    for (Job &job : jobs) {
        job.thread->wait();
        reports.append({job.entry.text, job.report});
    }
    return reports;
}
