#pragma once
#include "core/files/IniFile.h"
#include "core/files/WindowPlacement.h"

#include <QString>

#include <functional>

// Values of section "CONFIG", with the defaults of a first start.
struct ConfigSettings
{
    QString device;                       // "DEVICE": serial number to preselect
    QString language = QStringLiteral("en"); // "LANGUAGE": language code
    bool autoSend = false;                // "AUTOSEND"
    int tabActive = 0;                    // "TABACTIVE": page 0..3 of the editor

    bool operator==(const ConfigSettings &) const = default;
};

// The program's own settings, "CORVANE_Config.ini".
//
// Every write goes to disk before the call returns, and every read first
// re-reads the file if it changed on disk, so the file is always the truth.
// A batch call (writeConfig, writePlacement) saves once for all its keys.
// A missing, unreadable or malformed file never stops the program: absent
// or unusable values take their defaults.
class SettingsFile
{
public:
    static constexpr const char *FileName = "CORVANE_Config.ini";
    static constexpr int PageCount = 4;

    using WritableTest = std::function<bool(const QString &dir)>;

    // Beside the executable when that folder is writable (portable use);
    // otherwise in the per-user configuration folder, which is created.
    static QString settingsPath(const QString &exeDir);
    static QString settingsPath(const QString &exeDir, const WritableTest &isWritable);
    // Tries to create a file in dir; permission bits alone do not tell
    // (read-only mounts, ACLs, running as root).
    static bool isFolderWritable(const QString &dir);

    explicit SettingsFile(const QString &path);

    QString fileName() const { return m_ini.fileName(); }
    // Text of the last failed read or write, empty after success.
    QString errorString() const { return m_error; }

    ConfigSettings readConfig();
    bool writeConfig(const ConfigSettings &values);

    WindowPlacement readPlacement();
    bool writePlacement(const WindowPlacement &placement);

private:
    bool saveNow(bool valuesStored);

    IniFile m_ini;
    QString m_error;
};
