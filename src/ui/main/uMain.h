#pragma once
#include "device/uComHid.h"
#include "session/ControllerSession.h"

#include <QMainWindow>
#include <QSet>
#include <QString>
#include <QTimer>

#include <memory>

class ConfigEditor;
class ConfigEditorForm;
class DevicePanel;
class LedIndicator;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;
class SettingsFile;
class TAbout;
class TLanguageIcons;
class ProfileActions;
class TDebug;
class TMsgBox;
namespace Ui {
class TMain;
}
// What the program hands the main window: where devices come from, where
// its settings live. Tests pass a simulated bus and a settings file of their own.
struct MainSetup
{
    // Makes the HID controller the transport works through (real or simulated bus).
    HidControllerFactory controllerFactory;
    // Receives every report exchanged, when set.
    TComHid::TraceSink trace;
    // Empty: "CORVANE_Config.ini" beside the executable, or the per-user
    // configuration folder when that is not writable.
    QString settingsPath;
    // Started with exactly the developer code as its one argument.
    bool developerMode = false;
};

// The main window: the program's frame around the device group, the
// configuration editor and the tool bar. It owns the parts that do the work:
// the controller session, the device panel that follows the bus and runs
// the device functions, the editor, and the profile actions.
//
// The frame itself (creation, tool bar, showing, closing, its settings and
// the language selector's hooks) is uMain.cpp; the window placement is kept
// by WindowPlacementStore.
class TMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int StartupDelayMs = 200;

    explicit TMain(MainSetup setup, QWidget *parent = nullptr);
    ~TMain() override;

    // --- frame
    QString ProgTitle;   // "CORVANE Config Tool v1.1.4"
    QString ProgPath;    // directory of the executable, with a trailing separator
    QString settingsPath() const;
    SettingsFile &IniFile() { return *m_iniFile; }

    TDebug *debug() const { return m_debug; }
    TMsgBox *msgBoxWindow() const { return m_msgBox; }
    TAbout *about() const { return m_about; }
    // The controller session, its parameter set and the editor (from
    // FormShow on), the device panel and the profile actions.
    ControllerSession &session() { return m_session; }
    ConfigEditor *editor() const { return m_editor.get(); }
    ConfigEditorForm *editorForm() const { return m_editorForm; }
    DevicePanel &devices() const { return *m_devices; }
    ProfileActions &profiles();

    // Tool bar controls (created in code: a tool bar in a form holds actions only).
    QToolButton *ToolButton1 = nullptr;    // "Exit"
    QToolButton *butLoadProfile = nullptr; // "Open config"
    QToolButton *butSaveProfile = nullptr; // "Save config"
    QComboBox *cbLang = nullptr;           // "Change language"
    QToolButton *ToolButton7 = nullptr;    // "Info..."

    // --- language selector hooks
    // "LANGUAGE" as read from the settings file in FormShow.
    QString storedLanguage;
    // Fills cbLang and makes the stored language current; FormShow calls it
    // after the settings are read.
    void fillLanguageSelector();
    // The code written to "LANGUAGE" at close.
    QString currentLanguageCode() const;
    // Flags of the languages, built when the window is first shown.
    std::unique_ptr<TLanguageIcons> LanguageIcons;

    QTimer Timer1; // start-up delay

    // Sizes the fixed window to its contents (at least the designed client
    // area), so longer texts of another language still fit.
    void fitWindowSize();

public slots:
    // --- frame
    void FormShow();
    void FormClose();
    void ButExitClick();
    void ButInfoClick();
    // Another start of the program wants this window in front.
    void bringToFront();
    // Starts the device link (Timer1's handler; the device panel's Startup).
    void Startup();

    // --- language selector
    void cbLangChange();

signals:
    // A device was opened: identified, its configuration in the editor.
    void deviceOpened(const QString &serial);

protected:
    void setVisible(bool visible) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // uMain.cpp
    void FormCreate();
    void buildToolBar();
    void refreshToolIcons();
    void embedEditor();
    void hookDropDowns();
    void developerCopy();
    void butSaveProfileClick();
    void butLoadProfileClick();

    // the "CONFIG" settings
    void readSettings();
    void readSettingsAndLanguage();
    void writeSettings();

    QTabWidget *pageConfig() const;

    Ui::TMain *m_ui;
    MainSetup m_setup;
    std::unique_ptr<SettingsFile> m_iniFile;
    TDebug *m_debug = nullptr;
    TMsgBox *m_msgBox = nullptr;
    TAbout *m_about = nullptr;
    ConfigEditorForm *m_editorForm = nullptr;
    ControllerSession m_session;
    std::unique_ptr<DevicePanel> m_devices;
    std::unique_ptr<ConfigEditor> m_editor;
    std::unique_ptr<ProfileActions> m_profiles;

    QSet<QObject *> m_dropDownPopups;
    bool m_placementRestored = false;
    bool m_settingsRead = false;
    bool m_formShown = false;
    bool m_settingsWritten = false;
};
