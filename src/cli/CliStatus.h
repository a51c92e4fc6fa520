#pragma once
#include "session/SessionResult.h"

#include <QString>

// Exit codes of corvane-cli.
enum CliExit : int {
    ExitOk = 0,
    ExitFailed = 1,       // a device or file operation failed
    ExitUsage = 2,        // the command line is wrong
    ExitNoController = 3, // no (matching) controller is connected
};

// How a step ended: an exit code and, unless it succeeded, the message for
// standard error, worded as the window shows it where the window has one.
struct CliStatus {
    int code = ExitOk;
    QString message;

    bool ok() const { return code == ExitOk; }
    static CliStatus Failed(const QString &message) { return {ExitFailed, message}; }
    static CliStatus Usage(const QString &message) { return {ExitUsage, message}; }
    static CliStatus NoController(const QString &message) { return {ExitNoController, message}; }
    // A session's result: a missing controller exits 3, every other failure 1.
    static CliStatus From(const SessionResult &r)
    {
        if (r.ok())
            return {};
        return {r.kind == SessionResult::Kind::NoController ? ExitNoController : ExitFailed, r.message};
    }
};
