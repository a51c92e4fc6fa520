#include "device/SimStateFile.h"

#include "core/protocol/ParamTags.h"

#include <QJsonDocument>

#include <cmath>

namespace {

constexpr int kFormat = 1;
const QString kFormatKey = QStringLiteral("format");
const QString kControllersKey = QStringLiteral("controllers");

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

} // namespace

namespace SimStateFile {

QString parse(const QByteArray &text, QJsonObject *controllers)
{
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &err);
    if (err.error != QJsonParseError::NoError)
        return QStringLiteral("not valid JSON (%1 at offset %2)").arg(err.errorString()).arg(err.offset);
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(kFormatKey).toInt(-1) != kFormat || !root.value(kControllersKey).isObject())
        return QStringLiteral("not a state file of format %1").arg(kFormat);
    const QJsonObject found = root.value(kControllersKey).toObject();
    for (auto it = found.begin(); it != found.end(); ++it) {
        if (QString problem = entryProblem(it.key(), it.value()); !problem.isEmpty())
            return problem;
    }
    *controllers = found;
    return {};
}

QByteArray format(const QJsonObject &controllers)
{
    QJsonObject root;
    root.insert(kFormatKey, kFormat);
    root.insert(kControllersKey, controllers);
    return QJsonDocument(root).toJson();
}

} // namespace SimStateFile
