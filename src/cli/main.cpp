#include "cli/CliOutput.h"
#include "cli/CliRun.h"
#include "core/process/ProgramArguments.h"

#include <QCoreApplication>
#include <QTextStream>

#include <clocale>
#include <cstdio>

int main(int argc, char **argv)
{
    // hidapi converts serial numbers with mbstowcs: use the user's encoding.
    std::setlocale(LC_CTYPE, "");
    QCoreApplication app(argc, argv);
    // The names the window's data lives under.
    QCoreApplication::setOrganizationName(QStringLiteral("corvane"));
    QCoreApplication::setApplicationName(QStringLiteral("corvane-config"));
    CliOutput::makeLogMessagesVisible();

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments;
    QString error;
    if (!decodeArguments(argc, argv, &arguments, &error))
        return CliOutput(out, err, arguments.contains(QStringLiteral("--json"))).usage({}, CliOutcome::usage(error));
    return runCli(arguments, out, err);
}
