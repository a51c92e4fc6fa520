#include "core/files/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

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
    return settingsPath(exeDir, &SettingsFile::isFolderWritable);
}

QString SettingsFile::settingsPath(const QString &exeDir, const WritableTest &isWritable)
{
    if (!exeDir.isEmpty() && isWritable && isWritable(exeDir))
        return QDir(exeDir).filePath(QString::fromLatin1(FileName));

    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    // If this fails the first save reports it; reading simply finds no file.
    QDir().mkpath(dir);
    return QDir(dir).filePath(QString::fromLatin1(FileName));
}

bool SettingsFile::isFolderWritable(const QString &dir)
{
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        return false;
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".corvane-write-test-XXXXXX")));
    return probe.open(); // removed again when probe goes out of scope
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
    ConfigSettings c;
    c.device = m_ini.readString(Config, "DEVICE", c.device);
    c.language = m_ini.readString(Config, "LANGUAGE", c.language);
    c.autoSend = m_ini.readBool(Config, "AUTOSEND", c.autoSend);
    const int tab = m_ini.readInt(Config, "TABACTIVE", 0);
    c.tabActive = (tab >= 0 && tab < PageCount) ? tab : 0;
    return c;
}

bool SettingsFile::writeConfig(const ConfigSettings &values)
{
    // Merge into what is on disk now, so keys written by others survive.
    m_ini.reloadIfChanged();
    bool ok = m_ini.writeString(Config, "DEVICE", singleLine(values.device));
    ok = m_ini.writeString(Config, "LANGUAGE", singleLine(values.language)) && ok;
    ok = m_ini.writeBool(Config, "AUTOSEND", values.autoSend) && ok;
    ok = m_ini.writeInt(Config, "TABACTIVE", values.tabActive) && ok;
    return saveNow(ok);
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
