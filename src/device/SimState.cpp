#include "device/SimState.h"

#include "core/protocol/ParamTags.h"
#include "device/SimBus.h"
#include "device/SimUnit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>
#include <cstdio>

namespace {
constexpr int kFormat = 1;
// A state file is a few kilobytes; a wrongly chosen huge file is not read.
constexpr qint64 kMaxFileSize = 1024 * 1024;
const QString kFormatKey = QStringLiteral("format");
const QString kControllersKey = QStringLiteral("controllers");

struct StateFile {
    bool missing = false;
    QString problem;         // non-empty: the file is unusable
    QJsonObject controllers; // serial number -> {tag: value}
};

bool isUint32(const QJsonValue &v)
{
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    return d >= 0 && d <= 4294967295.0 && std::floor(d) == d;
}

// Why an entry is unusable, or an empty text.
QString entryProblem(const QString &serial, const QJsonValue &entry)
{
    if (!entry.isObject())
        return QStringLiteral("controller %1 is not an object").arg(serial);
    const QJsonObject params = entry.toObject();
    for (auto it = params.begin(); it != params.end(); ++it) {
        if (tagIndex(it.key()) < 0)
            return QStringLiteral("controller %1: unknown parameter %2").arg(serial, it.key());
        if (!isUint32(it.value()))
            return QStringLiteral("controller %1: %2 is not a 32-bit value").arg(serial, it.key());
    }
    if (params.size() != kParamTagCount)
        return QStringLiteral("controller %1 does not hold all %2 parameters").arg(serial).arg(kParamTagCount);
    return {};
}

StateFile readStateFile(const QString &path)
{
    StateFile s;
    QFile f(path);
    if (!f.exists()) {
        s.missing = true;
        return s;
    }
    if (f.size() > kMaxFileSize) {
        s.problem = QStringLiteral("larger than %1 bytes").arg(kMaxFileSize);
        return s;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        s.problem = f.errorString();
        return s;
    }
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &err);
    if (err.error != QJsonParseError::NoError) {
        s.problem = QStringLiteral("not valid JSON (%1 at offset %2)").arg(err.errorString()).arg(err.offset);
        return s;
    }
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(kFormatKey).toInt(-1) != kFormat || !root.value(kControllersKey).isObject()) {
        s.problem = QStringLiteral("not a state file of format %1").arg(kFormat);
        return s;
    }
    const QJsonObject controllers = root.value(kControllersKey).toObject();
    for (auto it = controllers.begin(); it != controllers.end(); ++it) {
        s.problem = entryProblem(it.key(), it.value());
        if (!s.problem.isEmpty())
            return s;
    }
    s.controllers = controllers;
    return s;
}

QJsonObject entryOf(const SimUnit &unit)
{
    QJsonObject params;
    for (const SimParam &p : unit.Firmware().Params())
        params.insert(QString::fromLatin1(p.Tag), double(p.Value));
    return params;
}

bool writeStateFile(const QString &path, const QJsonObject &controllers, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QJsonObject root;
    root.insert(kFormatKey, kFormat);
    root.insert(kControllersKey, controllers);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(root).toJson()) < 0 || !f.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}
} // namespace

SimState::SimState(SimBus &bus, QString path)
    : QObject(&bus)
    , m_bus(bus)
    , m_path(std::move(path))
{
}

QString SimState::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/corvane/corvane-config/simulated-controllers.json");
}

bool SimState::Load(QString *warning)
{
    const StateFile s = readStateFile(m_path);
    if (!s.problem.isEmpty()) {
        *warning = QStringLiteral("Simulated controllers start with factory settings: %1 is unusable (%2); "
                                  "it is moved to %1.corrupt at the next change.")
                       .arg(m_path, s.problem);
        return false;
    }
    for (SimUnit *unit : m_bus.Units()) {
        const QJsonValue entry = s.controllers.value(unit->Firmware().Model().Serial);
        if (!entry.isObject())
            continue;
        const QJsonObject stored = entry.toObject();
        QList<SimParam> params = unit->Firmware().Params();
        for (SimParam &p : params) {
            // The capacity is the hardware's, not a setting.
            if (p.Tag != "LMAX" && stored.contains(QString::fromLatin1(p.Tag)))
                p.Value = uint32_t(stored.value(QString::fromLatin1(p.Tag)).toDouble());
        }
        unit->Firmware().SetParams(params);
    }
    return true;
}

bool SimState::Save(const SimUnit &unit, QString *error)
{
    // Re-read first, so entries another program wrote meanwhile survive.
    StateFile s = readStateFile(m_path);
    if (!s.problem.isEmpty()) {
        const QString aside = m_path + QStringLiteral(".corrupt");
        QFile::remove(aside);
        if (!QFile::rename(m_path, aside)) {
            *error = QStringLiteral("Cannot move the unusable %1 aside to %2").arg(m_path, aside);
            return false;
        }
    }
    s.controllers.insert(unit.Firmware().Model().Serial, entryOf(unit));
    return writeStateFile(m_path, s.controllers, error);
}

void SimState::Follow()
{
    connect(&m_bus, &SimBus::ParamsChanged, this, [this](SimUnit *unit) {
        QString error;
        if (!Save(*unit, &error) && OnWarning)
            OnWarning(error);
    });
}

SimState *SimState::Attach(SimBus &bus, const QString &pathOrEmpty, QString *warning)
{
    auto *state = new SimState(bus, pathOrEmpty.isEmpty() ? DefaultPath() : pathOrEmpty);
    state->Load(warning);
    state->Follow();
    return state;
}

void AttachSimState(SimBus &bus, const QString &pathOrEmpty)
{
    // Without simulated controllers (real hardware) there is nothing to keep.
    if (bus.Units().isEmpty())
        return;
    const auto toStderr = [](const QString &text) { std::fprintf(stderr, "%s\n", qPrintable(text)); };
    QString warning;
    SimState *state = SimState::Attach(bus, pathOrEmpty, &warning);
    state->OnWarning = toStderr;
    if (!warning.isEmpty())
        toStderr(warning);
}
