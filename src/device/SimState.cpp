#include "device/SimState.h"

#include "core/files/FileLock.h"
#include "core/files/SafeFileRead.h"
#include "core/files/SafeFileWrite.h"
#include "device/SimBus.h"
#include "device/SimStateFile.h"
#include "device/SimUnit.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>

namespace {

// Long enough for another process's read and write, short enough that a
// stuck holder does not freeze a command for long.
constexpr int kLockTimeoutMs = 2000;

struct StateFile {
    enum class Kind { Missing, Usable, Corrupt, Refused };
    Kind kind = Kind::Missing;
    QString problem;         // for Corrupt and Refused
    QJsonObject controllers; // serial number -> {tag: value}
};

StateFile readStateFile(const QString &path)
{
    StateFile s;
    const FileRead file = readRegularFile(path, SimStateFile::MaxBytes);
    if (file.missing())
        return s;
    if (!file.ok()) {
        // Not a file of ours to judge (a folder, a device, a FIFO) or one
        // that cannot be read: never moved aside, never replaced.
        s.kind = StateFile::Kind::Refused;
        s.problem = file.error;
        return s;
    }
    s.problem = SimStateFile::parse(file.data, &s.controllers);
    s.kind = s.problem.isEmpty() ? StateFile::Kind::Usable : StateFile::Kind::Corrupt;
    return s;
}

QJsonObject entryOf(const SimUnit &unit)
{
    QJsonObject params;
    for (const SimParam &p : unit.firmware().params())
        params.insert(QString::fromLatin1(p.tag), double(p.value));
    return params;
}

// The file's entry with this process's changes on top: parameters whose
// value differs from what this process last knew of the file.
QJsonObject merged(const QJsonObject &stored, const QJsonObject &known, const QJsonObject &mine)
{
    if (stored.isEmpty())
        return mine;
    QJsonObject result = stored;
    for (auto it = mine.begin(); it != mine.end(); ++it) {
        if (known.value(it.key()) != it.value())
            result.insert(it.key(), it.value());
    }
    return result;
}

// The unit takes the stored values; its capacity LMAX is the hardware's.
void apply(SimUnit &unit, const QJsonObject &stored)
{
    QList<SimParam> params = unit.firmware().params();
    for (SimParam &p : params) {
        const QString tag = QString::fromLatin1(p.tag);
        if (p.tag != "LMAX" && stored.contains(tag))
            p.value = uint32_t(stored.value(tag).toDouble());
    }
    unit.firmware().setParams(params);
}

} // namespace

SimState::SimState(SimBus &bus, QString path)
    : QObject(&bus)
    , m_bus(bus)
    , m_path(std::move(path))
{
}

QString SimState::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/corvane/corvane-config/simulated-controllers.json");
}

void SimState::load(QString *warning)
{
    // What each unit holds now is what this process knows, file or not:
    // only what changes from here on is this process's to save.
    for (SimUnit *unit : m_bus.units())
        m_known.insert(unit->firmware().model().serial, entryOf(*unit));
    const StateFile s = readStateFile(m_path);
    QString text;
    if (s.kind == StateFile::Kind::Refused) {
        text = QStringLiteral("Simulated controllers start with factory settings and their changes are not kept: %1")
                   .arg(s.problem);
    } else if (s.kind == StateFile::Kind::Corrupt) {
        text = QStringLiteral("Simulated controllers start with factory settings: %1 is unusable (%2); "
                              "it is kept aside under a new name at the next change.")
                   .arg(m_path, s.problem);
    }
    if (!text.isEmpty()) {
        if (warning)
            *warning = text;
        return;
    }
    for (SimUnit *unit : m_bus.units()) {
        const QString serial = unit->firmware().model().serial;
        const QJsonObject stored = s.controllers.value(serial).toObject();
        if (stored.isEmpty())
            continue;
        apply(*unit, stored);
        m_known.insert(serial, entryOf(*unit));
    }
}

bool SimState::save(SimUnit &unit, QString *error)
{
    return saveUnits({&unit}, error);
}

bool SimState::saveUnits(const QList<SimUnit *> &units, QString *error)
{
    auto fail = [&](const QString &why) {
        const QString text = QStringLiteral("Simulated controller state not saved to %1: %2").arg(m_path, why);
        if (error)
            *error = text;
        for (const SimUnit *unit : units)
            noteSaveResult(unit->firmware().model().serial, false, text);
        return false;
    };
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // One read-modify-write at a time across processes, or one would write
    // back what it read before the other's change.
    FileLock lock(m_path + QStringLiteral(".lock"));
    QString why;
    if (!lock.lock(kLockTimeoutMs, &why))
        return fail(why);

    StateFile s = readStateFile(m_path);
    if (s.kind == StateFile::Kind::Refused)
        return fail(s.problem);
    if (s.kind == StateFile::Kind::Corrupt) {
        if (keepAside(m_path, &why).isEmpty())
            return fail(why);
        s.controllers = {};
    }
    QMutexLocker known(&m_knownMutex);
    for (const SimUnit *unit : units) {
        const QString serial = unit->firmware().model().serial;
        s.controllers.insert(serial, merged(s.controllers.value(serial).toObject(), m_known.value(serial),
                                            entryOf(*unit)));
    }
    if (!writeFileAtomically(m_path, SimStateFile::format(s.controllers), &why))
        return fail(why);
    for (SimUnit *unit : units) {
        const QString serial = unit->firmware().model().serial;
        const QJsonObject entry = s.controllers.value(serial).toObject();
        m_known.insert(serial, entry);
        apply(*unit, entry);
    }
    known.unlock();
    for (const SimUnit *unit : units)
        noteSaveResult(unit->firmware().model().serial, true, {});
    return true;
}

void SimState::changed(SimUnit *unit)
{
    if (QThread::currentThread() == thread()) {
        saveUnits({unit}, nullptr);
        return;
    }
    const QMutexLocker lock(&m_pendingMutex);
    if (m_pending.isEmpty())
        QMetaObject::invokeMethod(this, &SimState::savePending, Qt::QueuedConnection);
    if (!m_pending.contains(unit))
        m_pending.append(unit);
}

void SimState::savePending()
{
    QList<SimUnit *> units;
    {
        const QMutexLocker lock(&m_pendingMutex);
        units.swap(m_pending);
    }
    if (!units.isEmpty())
        saveUnits(units, nullptr);
}

void SimState::noteSaveResult(const QString &serial, bool ok, const QString &error)
{
    const bool wasFailing = !m_failed.isEmpty();
    if (ok)
        m_failed.remove(serial);
    else
        m_failed.insert(serial, error);
    if (ok || wasFailing)
        return;
    if (onWarning)
        onWarning(error);
    emit saveFailed(error);
}

void SimState::follow()
{
    // Direct: the unit is noted, or refreshed, in the thread that uses it.
    connect(&m_bus, &SimBus::paramsChanged, this, &SimState::changed, Qt::DirectConnection);
    connect(&m_bus, &SimBus::claimed, this, &SimState::refresh, Qt::DirectConnection);
}

void SimState::refresh(SimUnit *unit)
{
    FileLock lock(m_path + QStringLiteral(".lock"));
    if (!lock.lock(kLockTimeoutMs, nullptr))
        return;
    const StateFile s = readStateFile(m_path);
    const QString serial = unit->firmware().model().serial;
    const QJsonObject stored = s.controllers.value(serial).toObject();
    if (s.kind != StateFile::Kind::Usable || stored.isEmpty())
        return;
    apply(*unit, stored);
    const QMutexLocker known(&m_knownMutex);
    m_known.insert(serial, entryOf(*unit));
}

SimState *SimState::attach(SimBus &bus, const QString &pathOrEmpty, QString *warning)
{
    auto *state = new SimState(bus, pathOrEmpty.isEmpty() ? defaultPath() : pathOrEmpty);
    state->load(warning);
    state->follow();
    return state;
}
