#include "device/SimFaultList.h"

#include "core/protocol/ParamTags.h"
#include "device/SimBus.h"
#include "device/SimUnit.h"

#include <QList>
#include <QTimer>

#include <functional>

namespace {

using Apply = std::function<void(SimBus &, SimUnit *)>;

bool number(const QString &text, int min, int max, int *value)
{
    bool ok = false;
    const int v = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toInt(&ok, 16)
                                                                             : text.toInt(&ok, 10);
    if (!ok || v < min || v > max)
        return false;
    *value = v;
    return true;
}

// TAG:STATUS of the refusals. STATUS is the reply's status byte (0xC4) or the
// result as the error messages show it (0x80C4), so a code copied from a
// message can be replayed.
bool refusal(const QString &text, QByteArray *tag, uint8_t *status)
{
    const QString code = text.section(QLatin1Char(':'), 0, 0);
    const QString value = text.section(QLatin1Char(':'), 1);
    int s = 0;
    if (tagIndex(code) < 0 || !(number(value, 0x80, 0xFF, &s) || number(value, 0x8080, 0x80FF, &s)))
        return false;
    *tag = code.toLatin1();
    *status = uint8_t(s & 0xFF);
    return true;
}

// One ACTION, or nullptr with the reason.
Apply action(const QString &text, QString *error)
{
    const QString name = text.section(QLatin1Char('='), 0, 0);
    const QString arg = text.section(QLatin1Char('='), 1);
    int n = 0;
    const bool counted = number(arg, 1, 1000000000, &n);
    if (name == QLatin1String("unplug-after") && counted)
        return [n](SimBus &, SimUnit *u) { u->faults().unplugAfterTransfers = n - 1; };
    if (name == QLatin1String("fail-after") && counted)
        return [n](SimBus &, SimUnit *u) { u->faults().failFromTransfer = n; };
    if ((name == QLatin1String("unplug-at") || name == QLatin1String("replug-at")) && number(arg, 0, 86400000, &n)) {
        const bool plug = name == QLatin1String("replug-at");
        return [n, plug](SimBus &bus, SimUnit *u) {
            QTimer::singleShot(n, &bus, [&bus, u, plug] { plug ? bus.plug(u) : bus.unplug(u); });
        };
    }
    QByteArray tag;
    uint8_t status = 0;
    if (name == QLatin1String("refuse-read") && refusal(arg, &tag, &status))
        return [tag, status](SimBus &, SimUnit *u) { u->faults().readStatus.insert(tag, status); };
    if (name == QLatin1String("refuse-write") && refusal(arg, &tag, &status))
        return [tag, status](SimBus &, SimUnit *u) { u->faults().writeStatus.insert(tag, status); };
    if (text == QLatin1String("never-ready"))
        return [](SimBus &, SimUnit *u) { u->faults().neverReady = true; };
    if (text == QLatin1String("wrong-echo"))
        return [](SimBus &, SimUnit *u) { u->faults().wrongEcho = true; };
    *error = QStringLiteral("--simulate-faults: \"%1\" is no fault (unplug-after=K, fail-after=K, unplug-at=MS, "
                            "replug-at=MS, refuse-read=TAG:STATUS, refuse-write=TAG:STATUS, never-ready, "
                            "wrong-echo)")
                 .arg(text);
    return nullptr;
}

} // namespace

bool applySimFaults(SimBus &bus, const QString &faults, QString *error)
{
    QList<std::pair<SimUnit *, Apply>> planned;
    for (const QString &item : faults.split(QLatin1Char(','))) {
        const qsizetype colon = item.indexOf(QLatin1Char(':'));
        SimUnit *unit = colon > 0 ? bus.find(item.left(colon)) : nullptr;
        if (!unit) {
            *error = colon > 0 ? QStringLiteral("--simulate-faults: no simulated controller %1").arg(item.left(colon))
                               : QStringLiteral("--simulate-faults: \"%1\" is not SERIAL:ACTION").arg(item);
            return false;
        }
        Apply apply = action(item.mid(colon + 1), error);
        if (!apply)
            return false;
        planned.append({unit, std::move(apply)});
    }
    for (const auto &[unit, apply] : planned)
        apply(bus, unit);
    return true;
}

QString simFaultsHelp(int column)
{
    const QString pad(column, QLatin1Char(' '));
    return QStringLiteral("  --simulate-faults FAULT[,FAULT...]\n")
        + pad + QStringLiteral("faults of simulated controllers, FAULT = SERIAL:ACTION with\n")
        + pad + QStringLiteral("ACTION one of unplug-after=K, fail-after=K (K-th transfer),\n")
        + pad + QStringLiteral("unplug-at=MS, replug-at=MS (after start), never-ready,\n")
        + pad + QStringLiteral("wrong-echo, refuse-read=TAG:STATUS, refuse-write=TAG:STATUS\n");
}
