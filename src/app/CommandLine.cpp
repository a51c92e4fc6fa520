#include "app/CommandLine.h"

namespace {
constexpr int kMaxSimulated = 16;
}

CommandLine CommandLine::Parse(const QStringList &arguments)
{
    CommandLine c;
    const QStringList args = arguments.mid(1);
    c.developerMode = args.size() == 1 && args.first() == kDeveloperCode;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            c.help = true;
        } else if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            c.version = true;
        } else if (a == QLatin1String("--trace")) {
            c.trace = true;
        } else if (a == QLatin1String("--simulate")) {
            c.simulate = 1;
        } else if (a.startsWith(QLatin1String("--simulate="))) {
            bool ok = false;
            const int n = a.mid(11).toInt(&ok);
            c.simulate = ok ? qBound(0, n, kMaxSimulated) : 1;
        } else if (a == QLatin1String("--simulate-state") && i + 1 < args.size()) {
            c.simulateState = args[++i];
        } else if (a.startsWith(QLatin1String("--simulate-state="))) {
            c.simulateState = a.mid(17);
        }
    }
    return c;
}

QString UsageText(const QString &program)
{
    return QStringLiteral(
               "Usage: %1 [--simulate[=N]] [--simulate-state FILE] [--trace]\n"
               "Configuration tool for the CORVANE LED controller.\n\n"
               "  --simulate[=N]          work with N simulated controllers (default 1) instead of USB\n"
               "  --simulate-state FILE   where simulated controllers keep their settings\n"
               "  --trace                 write every HID report exchanged to standard error\n"
               "  --help                  show this help\n"
               "  --version               show the version\n")
        .arg(program);
}
