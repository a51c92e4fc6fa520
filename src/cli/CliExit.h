#pragma once
#include "session/SessionResult.h"

// Exit codes of corvane-cli.
enum CliExitCode : int {
    ExitOk = 0,
    ExitFailed = 1,       // an operation failed
    ExitUsage = 2,        // the command line is wrong
    ExitNoController = 3, // no (matching) controller is connected
};

// What a failure means to a script: the JSON error code and the exit code
// follow from it.
enum class CliError : uint8_t {
    None,
    Usage,         // the command line is wrong; nothing was done
    NoController,  // none connected, or none with the serial number given
    Refused,       // the controller refused, or the values do not fit it
    Communication, // no valid answer: a timeout, a bad frame, gone mid-command
    Permission,    // present, but this user may not open it
    InUse,         // another program holds the controller
    File,          // a profile or state file could not be read or written
    Ambiguous,     // several controllers, and neither --device nor --all
    Unsupported,   // no firmware, or a configuration version this tool does not serve
};

// A failure the transport gave no status for is `unexplained` (the caller
// knows what it was doing); everything else follows from the result's kind
// and status.
CliError cliError(const SessionResult &result, CliError unexplained = CliError::Communication);
int exitCode(CliError error);
// "no_controller", ...; empty for None.
const char *errorCode(CliError error);

// How a step of the command line ended: the session's result with what it
// means to a script.
struct CliOutcome {
    SessionResult result;
    CliError error = CliError::None;
    QString field; // the field a usage error or refusal names, where one does

    CliOutcome() = default;
    // Implicit: a session's result is an outcome as it stands.
    CliOutcome(const SessionResult &r, CliError unexplained = CliError::Communication)
        : result(r)
        , error(cliError(r, unexplained))
    {
    }
    bool ok() const { return error == CliError::None; }
    int exit() const { return exitCode(error); }
    const QString &message() const { return result.message; }

    static CliOutcome usage(const QString &message, const QString &field = {})
    {
        CliOutcome outcome = SessionResult::usage(message);
        outcome.field = field;
        return outcome;
    }
    static CliOutcome failed(const QString &message, CliError error) { return {SessionResult::failed(message), error}; }
};
