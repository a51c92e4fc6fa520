#pragma once
#include "ui/editor/uConfig.h"
#include "core/protocol/BiosInfo.h"
#include "core/protocol/DeviceCrypto.h"
#include "device/uComHid.h"

#include <QMainWindow>
#include <QSet>
#include <QString>
#include <QTimer>

#include <memory>

class ConfigEditorForm;
class LedIndicator;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;
class SettingsFile;
class TAbout;
class TLanguageIcons;
class TProfileActions;
class TDebug;
class TMsgBox;
namespace Ui {
class TMain;
}

// What the program hands the main window: where devices come from, where
// its settings live. Tests pass a simulated bus and a settings file of their own.
struct TMainSetup
{
    // Makes the HID controller the transport works through (real or simulated bus).
    HidControllerFactory ControllerFactory;
    // Receives every report exchanged, when set.
    TComHid::TraceSink Trace;
    // Empty: "CORVANE_Config.ini" beside the executable, or the per-user
    // configuration folder when that is not writable.
    QString SettingsPath;
    // Started with exactly the developer code as its one argument.
    bool DeveloperMode = false;
};

// The main window: the program's frame around the device group, the
// configuration editor and the tool bar, and the device session that keeps
// the device list in step with the bus.
//
// Members are defined by concern:
//   uMain.cpp           creation, tool bar, showing, closing, About
//   uMainSettings.cpp   settings file and window placement
//   uMainSession.cpp    device list, opening a device, identification
//   uMainFunctions.cpp  Restart, Activate Testpattern, Reset To Default
//   uMainLanguage.cpp   language selector hooks
class TMain : public QMainWindow, public TCfgHost
{
    Q_OBJECT

public:
    static constexpr int StartupDelayMs = 200;

    explicit TMain(TMainSetup setup, QWidget *parent = nullptr);
    ~TMain() override;

    // --- frame
    QString ProgTitle;   // "CORVANE Config Tool v1.1.4"
    QString ProgPath;    // directory of the executable, with a trailing separator
    QString SettingsPath() const;
    SettingsFile &IniFile() { return *m_iniFile; }

    TDebug *Debug() const { return m_debug; }
    TMsgBox *MsgBoxWindow() const { return m_msgBox; }
    TAbout *About() const { return m_about; }
    // The parameter set; exists from FormShow on.
    TCfg *Cfg() const { return m_cfg.get(); }
    // The embedded editor form (pageConfig and its pages).
    ConfigEditorForm *Editor() const { return m_editor; }

    // Tool bar controls (created in code: a tool bar in a form holds actions only).
    QToolButton *ToolButton1 = nullptr;    // "Exit"
    QToolButton *butLoadProfile = nullptr; // "Open config"
    QToolButton *butSaveProfile = nullptr; // "Save config"
    QComboBox *cbLang = nullptr;           // "Change language"
    QToolButton *ToolButton7 = nullptr;    // "Info..."

    // --- language selector hooks (uMainLanguage.cpp)
    // "LANGUAGE" as read from the settings file in FormShow.
    QString StoredLanguage;
    // Fills cbLang and makes the stored language current; FormShow calls it
    // after the settings are read.
    void FillLanguageSelector();
    // The code written to "LANGUAGE" at close.
    QString CurrentLanguageCode() const;
    // Flags of the languages, built when the window is first shown.
    std::unique_ptr<TLanguageIcons> LanguageIcons;

    // --- device session
    TBiosInfo BiosInfo;  // firmware record of the device read last
    QString OldDrop;     // the device combo box's text before the latest drop-down or refresh
    QString SaveSnr;     // serial number preferred when the device list is filled
    QTimer Timer1;       // start-up delay

    // TCfgHost
    bool &CfgLoaded() override { return m_cfgLoaded; }
    TComHid *ComHid() override { return m_comHid.get(); }
    const TCrypt &Crypt() const override { return m_crypt; }

    // Sizes the fixed window to its contents (at least the designed client
    // area), so longer texts of another language still fit.
    void FitWindowSize();

public slots:
    // --- frame (uMain.cpp)
    void FormShow();
    void FormClose();
    void ButExitClick();
    void ButInfoClick();
    // Another start of the program wants this window in front.
    void BringToFront();

    // --- session (uMainSession.cpp)
    void Startup();
    void ClearDeviceInfo();
    void HidEnum();
    void cbHidDropDown();
    void cbHidChange();
    bool ReadDeviceInfo();

    // --- language selector (uMainLanguage.cpp)
    void cbLangChange();

    // --- profiles (uMainProfiles.cpp)
    void butSaveProfileClick();
    void butLoadProfileClick();
    bool LoadProfile(const QString &fileName);

    // --- device functions (uMainFunctions.cpp)
    void butRestartClick();
    void butPatternClick();
    void butDefaultClick();

signals:
    // A device was opened: identified, its configuration in the editor.
    void DeviceOpened(const QString &serial);

protected:
    void setVisible(bool visible) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // uMain.cpp
    void FormCreate();
    void BuildToolBar();
    void EmbedEditor();
    void HookDropDowns();
    void DeveloperCopy();

    // uMainSettings.cpp
    void ReadSettings();
    void WriteSettings();
    void RestorePlacement();
    void WritePlacement();

    // uMainProfiles.cpp
    TProfileActions &Profiles();

    // uMainSession.cpp
    void ShowNoDevice();
    void ShowOpened();
    void ReportAccessProblem();
    void LetPendingEventsRun();

    // Controls of the embedded editor are found by name, as the parameter set finds them.
    template <typename T> T *Control(const char *name) const { return findChild<T *>(QLatin1String(name)); }
    QTabWidget *PageConfig() const;

    Ui::TMain *ui;
    TMainSetup m_setup;
    std::unique_ptr<SettingsFile> m_iniFile;
    TDebug *m_debug = nullptr;
    TMsgBox *m_msgBox = nullptr;
    TAbout *m_about = nullptr;
    ConfigEditorForm *m_editor = nullptr;
    std::unique_ptr<TCfg> m_cfg;
    std::unique_ptr<TComHid> m_comHid;
    std::unique_ptr<TProfileActions> m_profiles;

    bool m_cfgLoaded = false;
    TCrypt m_crypt{};

    QSet<QObject *> m_dropDownPopups;
    QSet<QString> m_accessProblemsShown;
    // Counts openings and no-device states, so an opening interrupted by a
    // device change handled meanwhile knows it has been overtaken.
    quint64 m_sessionStep = 0;
    bool m_placementRestored = false;
    bool m_formShown = false;
    bool m_settingsWritten = false;
};
