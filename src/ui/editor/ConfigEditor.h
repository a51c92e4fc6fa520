#pragma once
#include "session/ControllerSession.h"
#include "ui/editor/EditorBinding.h"
#include "ui/editor/EditorReadouts.h"

#include <QObject>
#include <QTimer>

#include <bitset>

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

// The configuration editor at work: loads the controller's parameters into
// the form, turns every edit into its parameter (control edited -> field ->
// SetConfig) with the after-effects the groups need, tracks what changed,
// and sends it on request or 10 s after the last edit.
class ConfigEditor : public QObject {
    Q_OBJECT
public:
    ConfigEditor(ConfigEditorForm &form, const EditorFrame &frame, ControllerSession &session,
                 QObject *parent = nullptr);

    // Reads every parameter unless the session's CfgLoaded is set, and
    // shows them. A failed load is reported ("Config error") and leaves the
    // editor in its failed state: no values, nothing to edit or send.
    SessionResult DoInit();
    // Shows the outcome of a load the session made.
    void ShowLoad(const SessionResult &load);

    // Checks the editor's arrangement (or the one given) and writes the
    // changed parameters to the open controller; failures are shown. The
    // countdown sends for the controller it was started for.
    SessionResult SendConfig();
    SessionResult SendConfig(const SessionTicket &ticket, const std::optional<LayoutArrangement> &checked = {});

    // Change tracking: send button, "Parameter changed", auto-send countdown.
    bool CheckChanged();

    // The arrangement the editor's controls describe.
    LayoutArrangement arrangement() const;

    const QTimer &SaveTimer() const { return m_saveTimer; }
    const EditorBinding &binding() const { return m_binding; }
    EditorReadouts &readouts() { return m_readouts; }

signals:
    // A load was shown; `complete` tells whether every parameter was read.
    void loadShown(bool complete);

private:
    void fieldEdited(FieldId field);
    void store(ParamTag tag);
    void showTag(ParamTag tag, const FieldValues &values);
    void setBound(ParamTag tag, bool bound);
    void setUsable(bool usable);
    void showFailedLoad();
    void MatrixCountChange();
    void LedColChange();

    Ui::ConfigEditorForm &ui;
    EditorFrame m_frame;
    ControllerSession &m_session;
    EditorBinding m_binding;
    EditorReadouts m_readouts;
    QTimer m_saveTimer;
    // The controller the countdown was started for.
    SessionTicket m_countdownTicket;
    // Fields whose edits reach their parameter; none while values are set
    // in code, so a load never counts as an edit.
    std::bitset<kFieldCount> m_bound;
};
