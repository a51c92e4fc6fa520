#include "cli/CliOptions.h"

#include "device/SimFaultList.h"

#include <QCommandLineParser>

namespace {

// A bare "--simulate" means one controller; the parser knows only options
// that always or never take a value.
QStringList withSimulateCount(const QStringList &arguments)
{
    QStringList out;
    bool optionsEnded = false;
    for (const QString &a : arguments) {
        optionsEnded = optionsEnded || a == QLatin1String("--");
        out << (!optionsEnded && a == QLatin1String("--simulate") ? QStringLiteral("--simulate=1") : a);
    }
    return out;
}

// The first argument the parser would take as the command, for the
// document of a command line it refused.
QString commandOf(const QStringList &arguments, const QStringList &valued)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--"))
            return arguments.value(i + 1);
        if (!a.startsWith(QLatin1Char('-')))
            return a;
        if (valued.contains(a.mid(2)))
            ++i;
    }
    return {};
}

} // namespace

bool CliOptions::parse(const QStringList &arguments, CliOptions *o, QString *error)
{
    QCommandLineParser p;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    // -v is the window program's habit; -V the one of other command lines.
    const QCommandLineOption version({QStringLiteral("V"), QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption device(QStringLiteral("device"), {}, QStringLiteral("SERIAL"));
    const QCommandLineOption all(QStringLiteral("all"), {});
    const QCommandLineOption simulate(QStringLiteral("simulate"), {}, QStringLiteral("N"));
    const QCommandLineOption state(QStringLiteral("simulate-state"), {}, QStringLiteral("FILE"));
    const QCommandLineOption faults(QStringLiteral("simulate-faults"), {}, QStringLiteral("FAULT"));
    const QCommandLineOption trace(QStringLiteral("trace"), {});
    const QCommandLineOption json(QStringLiteral("json"), {});
    const QCommandLineOption raw(QStringLiteral("raw"), {});
    const QCommandLineOption fields(QStringLiteral("fields"), {});
    const QCommandLineOption apply(QStringLiteral("apply"), {}, QStringLiteral("PROFILE"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"), {});
    const QCommandLineOption verbose(QStringLiteral("verbose"), {});
    p.addOptions({help, version, device, all, simulate, state, faults, trace, json, raw, fields, apply, dryRun, verbose});
    // A command line the parser refuses still gets its JSON document.
    const qsizetype optionsEnd = arguments.indexOf(QStringLiteral("--"));
    o->json = arguments.mid(1, optionsEnd < 0 ? -1 : optionsEnd - 1).contains(QStringLiteral("--json"));
    if (!p.parse(withSimulateCount(arguments))) {
        o->command = commandOf(arguments, {QStringLiteral("device"), QStringLiteral("simulate-state"),
                                           QStringLiteral("simulate-faults"), QStringLiteral("apply")});
        *error = p.errorText();
        return false;
    }

    o->help = p.isSet(help);
    o->version = p.isSet(version);
    o->all = p.isSet(all);
    o->trace = p.isSet(trace);
    o->json = p.isSet(json);
    o->raw = p.isSet(raw);
    o->fields = p.isSet(fields);
    o->dryRun = p.isSet(dryRun);
    o->verbose = p.isSet(verbose);
    o->device = p.value(device);
    o->simulateState = p.value(state);
    o->simulateFaults = p.value(faults);
    o->apply = p.value(apply);
    const QStringList positional = p.positionalArguments();
    o->command = positional.value(0);
    o->args = positional.mid(1);

    for (const QCommandLineOption *valued : {&device, &state, &faults, &apply}) {
        if (p.isSet(*valued) && p.value(*valued).isEmpty()) {
            *error = QStringLiteral("--%1 needs a value").arg(valued->names().constLast());
            return false;
        }
    }
    if (p.isSet(simulate)) {
        bool ok = false;
        const int n = p.value(simulate).toInt(&ok);
        o->simulate = ok && n >= 1 && n <= kMaxSimulated ? n : 0;
        if (o->simulate == 0) {
            *error = QStringLiteral("--simulate takes a number from 1 to %1").arg(kMaxSimulated);
            return false;
        }
    }
    if (o->version && !o->command.isEmpty()) {
        *error = QStringLiteral("--version takes no command (is --verbose meant?)");
        return false;
    }
    if (o->help || o->version)
        return true;
    if (o->command.isEmpty()) {
        *error = QStringLiteral("no command given");
        return false;
    }
    if (o->all && !o->device.isEmpty()) {
        *error = QStringLiteral("--all and --device exclude each other");
        return false;
    }
    const auto onlyWith = [&](bool set, const char *option, const char *command) {
        if (set && o->command != QLatin1String(command)) {
            *error = QStringLiteral("--%1 goes with %2 only").arg(QLatin1String(option), QLatin1String(command));
            return false;
        }
        return true;
    };
    if (o->dryRun && o->command != QLatin1String("set") && o->command != QLatin1String("load-profile")) {
        *error = QStringLiteral("--dry-run goes with set and load-profile only");
        return false;
    }
    return onlyWith(o->raw, "raw", "set") && onlyWith(o->fields, "fields", "get")
        && onlyWith(!o->apply.isEmpty(), "apply", "watch");
}

QString cliHelpText()
{
    return QStringLiteral(
        "Usage: corvane-cli [OPTIONS] COMMAND [ARGS]\n"
        "Configures CORVANE LED controllers.\n"
        "\n"
        "Commands:\n"
        "  list                        controllers attached: serial, release, access\n"
        "  info                        firmware information and capacity\n"
        "  get [TAG|FIELD...]          parameters as TAG=value, fields as name=value\n"
        "  get --fields [NAME...]      every field (or those named, or a tag's) as name=value\n"
        "  set TAG=VALUE|FIELD=VALUE...\n"
        "                              change parameters; only changed ones are written\n"
        "  describe                    every field: tag, bits, range or items, unit\n"
        "  save-profile FILE           save the configuration as a profile (- standard output)\n"
        "  load-profile FILE           apply a profile, then show what the controller holds\n"
        "                              (- standard input)\n"
        "  restart                     restart the controller\n"
        "  test-pattern                show the test pattern\n"
        "  reset-defaults              reset every parameter to its default\n"
        "  watch [--apply PROFILE]     report controllers arriving and leaving, and apply\n"
        "                              the profile to each that arrives, until interrupted\n"
        "\n"
        "Options:\n"
        "  --device SERIAL             the controller to use (any letter case)\n"
        "  --all                       info, get, set, load-profile, test-pattern, restart and\n"
        "                              reset-defaults on every controller at once\n"
        "  --raw                       set: write tag values without checking their fields\n"
        "  --dry-run                   set, load-profile: print what would change, write nothing\n"
        "  --json                      one JSON document (watch: one per line) on standard output\n"
        "  --trace                     every HID report exchanged, on standard error\n"
        "  --verbose                   the program's own log lines, on standard error\n"
        "  --simulate[=N]              N simulated controllers (default 1) instead of USB\n"
        "  --simulate-state FILE       where simulated controllers keep their settings\n")
        + simFaultsHelp(30)
        + QStringLiteral(
        "  -h, --help                  this help\n"
        "  -V, --version               the version (alone, without a command)\n"
        "\n"
        "Tags: LMAX KTIM STUP CPRO LPRO LAYO BRIG COL0 COL1 MIRR SCFG MCHN MCNT MXOR MBEG\n"
        "      1CFG 2CFG 3CFG 4CFG 5CFG 6CFG (values decimal or 0x-hex). Fields: see describe.\n"
        "Names of tags, fields and items are taken in any letter case.\n"
        "Exit codes: 0 ok, 1 operation failed, 2 usage error, 3 no controller found.\n");
}
