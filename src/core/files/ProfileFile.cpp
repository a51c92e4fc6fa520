#include "core/files/ProfileFile.h"

#include "core/files/IniFile.h"
#include "core/files/IniTextCheck.h"
#include "core/files/SafeFileRead.h"

namespace {

const QByteArray Global = QByteArrayLiteral("GLOBAL");
const QByteArray Parameter = QByteArrayLiteral("PARAMETER");

// Keeps a message box readable when a file holds a very long bad value.
QString shown(const QByteArray &text)
{
    constexpr qsizetype maxShown = 40;
    // Decodes no more than those characters can take (four bytes each).
    QString s = QString::fromUtf8(QByteArrayView(text).first(qMin(text.size(), 4 * maxShown + 4)));
    if (s.size() > maxShown)
        s = s.left(maxShown) + QStringLiteral("...");
    return s;
}

ParsedProfile parse(const IniFile &ini)
{
    ParsedProfile p;
    if (const auto id = ini.value(Global, "ID")) {
        if (const auto n = IniFile::parseInt32(*id)) {
            p.hasId = true;
            p.id = uint32_t(*n);
        }
    }
    if (const auto version = ini.value(Global, "VERSION")) {
        if (const auto n = IniFile::parseInt32(*version)) {
            p.hasVersion = true;
            p.version = *n;
        }
    }

    p.keys = ini.keys(Parameter);
    QList<ProfileParam> params;
    params.reserve(p.keys.size());
    for (const QByteArray &key : std::as_const(p.keys)) {
        const QByteArray text = ini.value(Parameter, key).value_or(QByteArray());
        const auto n = IniFile::parseInt32(text);
        if (!n) {
            p.valueError = QStringLiteral("'%1' is not a valid integer value for key %2")
                               .arg(shown(text), shown(key));
            return p;
        }
        params.append(ProfileParam{key, uint32_t(*n)});
    }
    p.params = std::move(params);
    return p;
}

} // namespace

QString ParsedProfile::loadError(uint32_t sysId) const
{
    if (!fileError.isEmpty())
        return fileError;
    if (!formatError.isEmpty())
        return formatError;
    if (!matchesDevice(sysId))
        return QStringLiteral("File ID unknown");
    if (keys.isEmpty())
        return QStringLiteral("No parameter in file");
    return valueError;
}

namespace ProfileFile {

QByteArray formatValue(uint32_t value)
{
    return QByteArray::number(int32_t(value));
}

ParsedProfile readProfile(const QByteArray &data)
{
    const QByteArray text = IniFile::textAsUtf8(data);
    // What the reader would cut or merge is refused rather than applied
    // differently from what the file says, and a file of far more entries
    // than a profile holds before it costs time and memory to parse.
    const IniTextCheck check = checkIniText(text);
    if (QString problem = check.tooMany.isEmpty() ? check.ambiguity : check.tooMany; !problem.isEmpty()) {
        ParsedProfile p;
        p.formatError = std::move(problem);
        return p;
    }
    IniFile ini;
    ini.loadFromData(text);
    return parse(ini);
}

ParsedProfile readProfileFile(const QString &fileName)
{
    const FileRead file = readRegularFile(fileName, IniFile::MaxFileSize);
    if (!file.ok()) {
        ParsedProfile p;
        p.fileError = file.error;
        return p;
    }
    return readProfile(file.data);
}

bool writeProfileFile(const QString &fileName, uint32_t sysId, int toolVers,
                      const QList<ProfileParam> &params, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };

    // Start from the file's current content so that whatever else it holds
    // survives. A file we cannot read is not overwritten blindly.
    IniFile ini;
    if (!ini.open(fileName))
        return fail(ini.errorString());

    ini.writeRaw(Global, "INFO", InfoText);
    ini.writeRaw(Global, "ID", formatValue(sysId));
    ini.writeInt(Global, "VERSION", toolVers);

    const QList<QByteArray> existing = ini.keys(Parameter);
    for (const ProfileParam &param : params) {
        // Lookup ignores case but loading matches tags exactly: a key "brig"
        // already in the file would keep its spelling and hide our BRIG.
        for (const QByteArray &key : existing) {
            if (key != param.code && key.compare(param.code, Qt::CaseInsensitive) == 0)
                ini.removeKey(Parameter, key);
        }
        if (!ini.writeRaw(Parameter, param.code, formatValue(param.value)))
            return fail(QStringLiteral("Invalid parameter tag '%1'").arg(shown(param.code)));
    }

    if (!ini.save())
        return fail(ini.errorString());
    return true;
}

QByteArray profileText(uint32_t sysId, int toolVers, const QList<ProfileParam> &params)
{
    IniFile ini;
    ini.writeRaw(Global, "INFO", InfoText);
    ini.writeRaw(Global, "ID", formatValue(sysId));
    ini.writeInt(Global, "VERSION", toolVers);
    for (const ProfileParam &param : params)
        ini.writeRaw(Parameter, param.code, formatValue(param.value));
    return ini.toByteArray();
}

} // namespace ProfileFile
