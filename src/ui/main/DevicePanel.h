#pragma once
#include "device/HidController.h"
#include "device/uComHid.h"
#include "ui/main/FailedStatePanel.h"

#include <QObject>
#include <QString>

#include <memory>

class ConfigEditor;
class ControllerSession;
class QPushButton;
class QTabWidget;
struct SessionResult;
struct SessionTicket;
class QTimer;
class QToolButton;
namespace Ui {
class TMain;
class ConfigEditorForm;
}

// The device side of the main window: keeps the device list in step with
// the bus, opens the device chosen there (identification, then the
// editor's load) and runs the controller's functions on the editor's first
// page. Every operation that waits holds the session's ticket, so what was
// asked for one controller never reaches another.
class DevicePanel : public QObject {
    Q_OBJECT
public:
    struct Controls {
        Ui::TMain &main;
        Ui::ConfigEditorForm &editor;
        QToolButton *loadProfile;
        QToolButton *saveProfile;
        QTimer &startupTimer; // Timer1
    };

    DevicePanel(const Controls &controls, ControllerSession &session, HidControllerFactory factory,
                TComHid::TraceSink trace, QObject *parent = nullptr);
    ~DevicePanel() override;

    // The editor exists from the window's first showing on.
    void setEditor(ConfigEditor *editor);

    QString OldDrop; // the device combo box's text before the latest drop-down or refresh
    QString SaveSnr; // serial number preferred when the device list is filled

public slots:
    void Startup();
    void ClearDeviceInfo();
    void HidEnum();
    void cbHidDropDown();
    // The user's choice in cbHid; asks first when the open controller has unsent changes.
    void cbHidPicked();
    void cbHidChange();
    void butRetryClick();
    bool ReadDeviceInfo();

    void butRestartClick();
    void butPatternClick();
    void butDefaultClick();

signals:
    // A device was opened: identified, its configuration in the editor.
    void deviceOpened(const QString &serial);

private:
    void showNoDevice();
    void showOpened();
    void letPendingEventsRun();
    bool unsentChangesMayGo(const QString &next);
    void showFailure(FailedStatePanel::Reason reason, const QString &message);
    void setOpen(bool open);
    void loadShown(const SessionResult &load);
    void runFunction(QPushButton *button, SessionResult (ControllerSession::*function)(const SessionTicket &));

    Controls m_ui;
    ControllerSession &m_session;
    HidControllerFactory m_factory;
    TComHid::TraceSink m_trace;
    bool m_started = false;
    ConfigEditor *m_editor = nullptr;
    bool m_open = false;
    FailedStatePanel m_failed;
    // Counts openings and no-device states, so an opening interrupted by a
    // device change handled meanwhile knows it has been overtaken.
    quint64 m_sessionStep = 0;
};
