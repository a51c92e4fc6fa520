#include "cli/CliRun.h"

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

    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunCli(QCoreApplication::arguments(), out, err);
}
