#include "cli/CliExit.h"

#include "core/protocol/StatusCodes.h"

#include <array>

namespace {

struct ErrorRow {
    CliError error;
    const char *code;
    int exit;
};

constexpr std::array<ErrorRow, 10> kErrors{{
    {CliError::None, "", ExitOk},
    {CliError::Usage, "usage", ExitUsage},
    {CliError::NoController, "no_controller", ExitNoController},
    {CliError::Refused, "refused", ExitFailed},
    {CliError::Communication, "communication", ExitFailed},
    {CliError::Permission, "permission", ExitFailed},
    {CliError::InUse, "in_use", ExitFailed},
    {CliError::File, "file", ExitFailed},
    {CliError::Ambiguous, "ambiguous", ExitFailed},
    {CliError::Unsupported, "unsupported", ExitFailed},
}};

const ErrorRow &row(CliError error)
{
    return kErrors[std::size_t(error)];
}

} // namespace

CliError cliError(const SessionResult &result, CliError unexplained)
{
    using Kind = SessionResult::Kind;
    switch (result.kind) {
    case Kind::Ok:
        return CliError::None;
    case Kind::Usage:
        return CliError::Usage;
    case Kind::NoController:
        return CliError::NoController;
    case Kind::NoAccess:
        return CliError::Permission;
    case Kind::InUse:
        return CliError::InUse;
    case Kind::Invalid:
        return CliError::Refused;
    case Kind::Failed:
    case Kind::LoadFailed:
        break;
    }
    if (result.status >= Status::UnknownCommand && result.status <= Status::ExecutionTimeout)
        return CliError::Refused;
    if (result.status >= Status::FirstFailure)
        return CliError::Communication;
    return unexplained;
}

int exitCode(CliError error)
{
    return row(error).exit;
}

const char *errorCode(CliError error)
{
    return row(error).code;
}
