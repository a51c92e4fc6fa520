#include "cli/CliOptions.h"

namespace {
constexpr int kMaxSimulated = 16;

// "--name VALUE" or "--name=VALUE"; advances i past a separate value.
bool takeValue(const QStringList &args, qsizetype &i, const QString &name, QString *value, QString *error)
{
    const QString &a = args[i];
    if (a.startsWith(name + QLatin1Char('='))) {
        *value = a.mid(name.size() + 1);
    } else if (i + 1 < args.size()) {
        *value = args[++i];
    } else {
        *error = QStringLiteral("%1 needs a value").arg(name);
        return false;
    }
    if (value->isEmpty()) {
        *error = QStringLiteral("%1 needs a value").arg(name);
        return false;
    }
    return true;
}

bool isOption(const QString &a, const QString &name)
{
    return a == name || a.startsWith(name + QLatin1Char('='));
}
} // namespace

bool CliOptions::Parse(const QStringList &arguments, CliOptions *o, QString *error)
{
    const QStringList args = arguments.mid(1);
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (optionsEnded || (!a.startsWith(QLatin1String("--")) && a != QLatin1String("-h"))) {
            if (o->command.isEmpty())
                o->command = a;
            else
                o->args << a;
        } else if (a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o->help = true;
        } else if (a == QLatin1String("--version")) {
            o->version = true;
        } else if (a == QLatin1String("--trace")) {
            o->trace = true;
        } else if (a == QLatin1String("--json")) {
            o->json = true;
        } else if (isOption(a, QStringLiteral("--device"))) {
            if (!takeValue(args, i, QStringLiteral("--device"), &o->device, error))
                return false;
        } else if (isOption(a, QStringLiteral("--simulate-state"))) {
            if (!takeValue(args, i, QStringLiteral("--simulate-state"), &o->simulateState, error))
                return false;
        } else if (a == QLatin1String("--simulate")) {
            o->simulate = 1;
        } else if (a.startsWith(QLatin1String("--simulate="))) {
            bool ok = false;
            o->simulate = a.mid(11).toInt(&ok);
            if (!ok || o->simulate < 1 || o->simulate > kMaxSimulated) {
                *error = QStringLiteral("--simulate takes a number from 1 to %1").arg(kMaxSimulated);
                return false;
            }
        } else {
            *error = QStringLiteral("unknown option %1").arg(a);
            return false;
        }
    }
    if (o->command.isEmpty() && !o->help && !o->version) {
        *error = QStringLiteral("no command given");
        return false;
    }
    return true;
}

QString CliUsageText()
{
    return QStringLiteral(
        "Usage: corvane-cli [--device SERIAL] [--simulate[=N]] [--simulate-state FILE]\n"
        "                   [--trace] [--json] COMMAND [ARGS]\n"
        "Commands:\n"
        "  list                    connected controllers: serial, release, access\n"
        "  info                    firmware information and capacity\n"
        "  get [TAG...]            parameters as TAG=value\n"
        "  set TAG=VALUE...        change parameters (decimal or 0x-hex)\n"
        "  save-profile FILE       save the configuration to a profile\n"
        "  load-profile FILE       apply a profile\n"
        "  restart                 restart the controller\n"
        "  test-pattern            show the test pattern\n"
        "  reset-defaults          reset all parameters to their defaults\n"
        "Exit codes: 0 ok, 1 operation failed, 2 usage error, 3 no controller found.\n");
}
