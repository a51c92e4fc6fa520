#pragma once
#include "session/ControllerSession.h"
#include "ui/editor/EditorBinding.h"
#include "ui/editor/EditorReadouts.h"

#include <QObject>
#include <QTimer>


class ConfigEditorForm;
class QCheckBox;
class QLabel;
class QPushButton;
class QStatusBar;

// The main window's controls the editor works with beside its own form.
struct EditorFrame {
    QLabel *capacity = nullptr;    // labCapacity
    QPushButton *send = nullptr;   // ButSaveConfig
    QCheckBox *autoSend = nullptr; // chkAutoSend
    QStatusBar *status = nullptr;  // sBar
};

// The configuration editor at work: shows the session's parameters in the
// form, hands every edit to the session (control edited -> field ->
// setFields) and shows what the session made of it, with the after-effects
// the groups need, tracks what changed, and sends it on request or 10 s
// after the last edit. The values and the rules are the session's.
class ConfigEditor : public QObject {
    Q_OBJECT
public:
    ConfigEditor(ConfigEditorForm &form, const EditorFrame &frame, ControllerSession &session,
                 QObject *parent = nullptr);

    // Reads every parameter unless the session holds them already. Every
    // load the session finishes is shown; a failed one is reported ("Config
    // error") and leaves the editor in its failed state: no values, nothing
    // to edit or send.
    SessionResult DoInit();

    // Writes the changed parameters to the open controller; failures are
    // shown. The countdown sends for the controller it was started for.
    SessionResult SendConfig();
    SessionResult SendConfig(const SessionTicket &ticket);

    // Change tracking: send button, "Parameter changed", auto-send countdown.
    bool CheckChanged();
    // Says in the status text what the session changed beyond what was asked.
    void announceAdjustments(const QList<FieldAdjustment> &adjusted);

    // The controller shown has left the bus: nothing reaches it any more, so
    // the countdown ends without trying and Send waits for the next
    // controller's load. True when changes were left unsent.
    bool controllerLeft();

    const QTimer &SaveTimer() const { return m_saveTimer; }
    const EditorBinding &binding() const { return m_binding; }
    EditorReadouts &readouts() { return m_readouts; }

signals:
    // A load was shown; a failed one (not every parameter read) says why.
    void loadShown(const SessionResult &load);

private:
    void showLoad(const SessionResult &load);
    void showValues();
    void showArrangement(const QString &problem);
    void fieldEdited(FieldId field);
    void afterEffects(ParamTag tag);
    void setUsable(bool usable);
    void showFailedLoad();

    Ui::ConfigEditorForm &m_ui;
    EditorFrame m_frame;
    ControllerSession &m_session;
    EditorBinding m_binding;
    EditorReadouts m_readouts;
    QTimer m_saveTimer;
    // The controller the countdown was started for.
    SessionTicket m_countdownTicket;
    // Edits reach the session only while the editor shows a good load and
    // is not setting values itself, so showing values never counts as an edit.
    bool m_bound = false;
};
