#include "app/CommandLine.h"

#include "device/SimFaultList.h"

#include <QCommandLineParser>

namespace {
constexpr int kMaxSimulated = 16;
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine c;
    c.developerMode = arguments.size() == 2 && arguments[1] == kDeveloperCode;

    QCommandLineParser p;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption trace(QStringLiteral("trace"), {});
    const QCommandLineOption simulate(QStringLiteral("simulate"), {}, QStringLiteral("N"));
    const QCommandLineOption state(QStringLiteral("simulate-state"), {}, QStringLiteral("FILE"));
    const QCommandLineOption faults(QStringLiteral("simulate-faults"), {}, QStringLiteral("FAULT"));
    p.addOptions({help, version, trace, simulate, state, faults});
    // A bare --simulate means one controller; the parser knows only options
    // that always or never take a value.
    QStringList args = arguments;
    for (qsizetype i = 1; i < args.size() && args[i] != QLatin1String("--"); ++i) {
        if (args[i] == QLatin1String("--simulate"))
            args[i] = QStringLiteral("--simulate=1");
    }
    // Unknown options only make parse() fail; a value missing after one of
    // ours is an error of its own.
    if (!p.parse(args) && p.unknownOptionNames().isEmpty())
        c.error = p.errorText();

    c.help = p.isSet(help);
    c.version = p.isSet(version);
    c.trace = p.isSet(trace);
    c.simulateState = p.value(state);
    c.simulateFaults = p.value(faults);
    if (p.isSet(simulate)) {
        bool ok = false;
        const int n = p.value(simulate).toInt(&ok);
        if (ok && n >= 1 && n <= kMaxSimulated)
            c.simulate = n;
        else
            c.error = QStringLiteral("--simulate takes a number from 1 to %1").arg(kMaxSimulated);
    }
    for (const QCommandLineOption *valued : {&state, &faults}) {
        if (p.isSet(*valued) && p.value(*valued).isEmpty())
            c.error = QStringLiteral("--%1 needs a value").arg(valued->names().constFirst());
    }
    if (!c.simulateFaults.isEmpty() && c.simulate == 0)
        c.error = QStringLiteral("--simulate-faults needs --simulate");
    return c;
}

QString usageText(const QString &program)
{
    return QStringLiteral(
               "Usage: %1 [--simulate[=N]] [--simulate-state FILE] [--simulate-faults FAULT] [--trace]\n"
               "Configuration tool for the CORVANE LED controller.\n\n"
               "  --simulate[=N]            work with N simulated controllers (default 1) instead of USB\n"
               "  --simulate-state FILE     where simulated controllers keep their settings\n")
               .arg(program)
        + simFaultsHelp(28)
        + QStringLiteral(
            "  --trace                   write every HID report exchanged to standard error\n"
            "  -h, --help                show this help\n"
            "  -v, --version             show the version\n");
}
