#pragma once
#include "core/files/IniFile.h"
#include "core/files/WindowPlacement.h"

#include <QString>

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
// or unusable values take their defaults. A file that exists but could not
// be read (too large, unreadable, no regular file) is not written either:
// errorString() says why from the start, and every write fails.
class SettingsFile
{
public:
    static constexpr const char *FileName = "CORVANE_Config.ini";
    static constexpr int PageCount = 4;

    // Beside the executable for a portable copy: a settings file is already
    // there, or the folder is the user's own (not under a system prefix such
    // as /usr, /opt or /snap) and writable. Otherwise in the per-user
    // configuration folder, which is created. Nothing is written to find out.
    static QString settingsPath(const QString &exeDir);
    // Folders that belong to the installed system, never to one user's copy.
    static bool isSystemFolder(const QString &dir);

    explicit SettingsFile(const QString &path);

    QString fileName() const { return m_ini.fileName(); }
    // Text of the last failed read or write, empty after success.
    QString errorString() const { return m_error; }

    ConfigSettings readConfig();
    bool writeConfig(const ConfigSettings &values);
    // The same on a document in memory, without touching any file.
    static ConfigSettings configFrom(const IniFile &ini);
    static bool putConfig(IniFile &ini, const ConfigSettings &values);

    WindowPlacement readPlacement();
    bool writePlacement(const WindowPlacement &placement);

private:
    bool saveNow(bool valuesStored);

    IniFile m_ini;
    QString m_error;
};
