#include "core/files/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

namespace {

const QByteArray Config = QByteArrayLiteral("CONFIG");

// A line break would end the value early and turn the rest into a bogus key.
QString singleLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.remove(QChar(0));
    return text;
}

} // namespace

QString SettingsFile::settingsPath(const QString &exeDir)
{
    const QString beside = QDir(exeDir).filePath(QString::fromLatin1(FileName));
    if (!exeDir.isEmpty()) {
        // A file someone put there on purpose wins, wherever that is.
        if (QFileInfo::exists(beside))
            return beside;
        const QFileInfo dir(exeDir);
        if (dir.isDir() && !isSystemFolder(exeDir)
            && ::access(QFile::encodeName(exeDir).constData(), W_OK) == 0)
            return beside;
    }

    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    // If this fails the first save reports it; reading simply finds no file.
    QDir().mkpath(dir);
    return QDir(dir).filePath(QString::fromLatin1(FileName));
}

bool SettingsFile::isSystemFolder(const QString &dir)
{
    // Judged by where the folder really is: /bin is /usr/bin on most systems.
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    const QString path = canonical.isEmpty() ? QDir::cleanPath(QDir(dir).absolutePath()) : canonical;
    static const char *const prefixes[] = {"/usr", "/opt", "/snap", "/bin", "/sbin", "/lib", "/lib64",
                                           "/nix/store", "/app"};
    for (const char *prefix : prefixes) {
        const QString p = QString::fromLatin1(prefix);
        if (path == p || path.startsWith(p + u'/'))
            return true;
    }
    return false;
}

SettingsFile::SettingsFile(const QString &path)
{
    if (!m_ini.open(path))
        m_error = m_ini.errorString();
}

bool SettingsFile::saveNow(bool valuesStored)
{
    if (!m_ini.save()) {
        m_error = m_ini.errorString();
        return false;
    }
    if (!valuesStored) {
        m_error = QStringLiteral("A value could not be stored");
        return false;
    }
    m_error.clear();
    return true;
}

ConfigSettings SettingsFile::readConfig()
{
    m_ini.reloadIfChanged();
    return configFrom(m_ini);
}

ConfigSettings SettingsFile::configFrom(const IniFile &ini)
{
    ConfigSettings c;
    c.device = ini.readString(Config, "DEVICE", c.device);
    c.language = ini.readString(Config, "LANGUAGE", c.language);
    c.autoSend = ini.readBool(Config, "AUTOSEND", c.autoSend);
    const int tab = ini.readInt(Config, "TABACTIVE", 0);
    c.tabActive = (tab >= 0 && tab < PageCount) ? tab : 0;
    return c;
}

bool SettingsFile::writeConfig(const ConfigSettings &values)
{
    // Merge into what is on disk now, so keys written by others survive.
    m_ini.reloadIfChanged();
    return saveNow(putConfig(m_ini, values));
}

bool SettingsFile::putConfig(IniFile &ini, const ConfigSettings &values)
{
    bool ok = ini.writeString(Config, "DEVICE", singleLine(values.device));
    ok = ini.writeString(Config, "LANGUAGE", singleLine(values.language)) && ok;
    ok = ini.writeBool(Config, "AUTOSEND", values.autoSend) && ok;
    ok = ini.writeInt(Config, "TABACTIVE", values.tabActive) && ok;
    return ok;
}

WindowPlacement SettingsFile::readPlacement()
{
    m_ini.reloadIfChanged();
    return WindowPlacement::readFrom(m_ini);
}

bool SettingsFile::writePlacement(const WindowPlacement &placement)
{
    m_ini.reloadIfChanged();
    return saveNow(placement.writeTo(m_ini));
}
