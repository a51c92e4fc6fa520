#include "ui/main/DevicePanel.h"
#include "ui_ConfigEditor.h"
#include "ui_uMain.h"

#include "core/i18n/TranslateText.h"
#include "session/ControllerSession.h"
#include "ui/dialogs/uMessageBox.h"
#include "ui/editor/ConfigEditor.h"
#include "ui/main/LedIndicator.h"

#include <QCoreApplication>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace {

const QString NoValue = QStringLiteral("---");
const QColor LedOpening(255, 255, 0);
const QColor LedOpen(0, 255, 0);

// Position of the item equal to `text` ignoring case; an empty text matches nothing.
int indexOfSerial(const QComboBox *combo, const QString &text)
{
    if (text.isEmpty())
        return -1;
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// Keeps a function button disabled while its command runs, so a second
// click cannot start the same command twice; enabled again however it ends.
class ButtonBusy
{
public:
    explicit ButtonBusy(QPushButton *button)
        : m_button(button)
    {
        m_button->setEnabled(false);
    }
    ~ButtonBusy() { release(); }
    void release()
    {
        if (m_button)
            m_button->setEnabled(true);
        m_button = nullptr;
    }
    ButtonBusy(const ButtonBusy &) = delete;
    ButtonBusy &operator=(const ButtonBusy &) = delete;

private:
    QPushButton *m_button;
};

} // namespace

DevicePanel::DevicePanel(const Controls &controls, ControllerSession &session, HidControllerFactory factory,
                         TComHid::TraceSink trace, QObject *parent)
    : QObject(parent)
    , m_ui(controls)
    , m_session(session)
    , m_factory(std::move(factory))
    , m_trace(std::move(trace))
    , m_failed(controls.main)
{
    connect(m_ui.main.cbHid, &QComboBox::activated, this, &DevicePanel::cbHidPicked);
    connect(m_ui.main.butRetry, &QPushButton::clicked, this, &DevicePanel::butRetryClick);
    connect(m_ui.editor.butRestart, &QPushButton::clicked, this, &DevicePanel::butRestartClick);
    connect(m_ui.editor.butPattern, &QPushButton::clicked, this, &DevicePanel::butPatternClick);
    connect(m_ui.editor.butDefault, &QPushButton::clicked, this, &DevicePanel::butDefaultClick);
}

DevicePanel::~DevicePanel() = default;

void DevicePanel::setEditor(ConfigEditor *editor)
{
    m_editor = editor;
    connect(editor, &ConfigEditor::loadShown, this, &DevicePanel::loadShown);
}

void DevicePanel::Startup()
{
    m_ui.startupTimer.stop();
    // The device link starts once.
    if (m_started)
        return;
    m_started = true;
    ClearDeviceInfo();
    connect(&m_session, &ControllerSession::controllersChanged, this, &DevicePanel::HidEnum);
    // The first scan, and with it the opening of a device, happens in here.
    m_session.start(m_factory, m_trace);
    // Without HID access no controller can ever be listed: say why, once,
    // rather than only "No CORVANE connected".
    if (const QString problem = m_session.startError(); !problem.isEmpty())
        showError(problem);
}

// Repaints now so a cleared state shows at once. Device changes that are
// waiting run here too (the session is between commands); input stays
// queued, so no button can start a second operation inside this one.
void DevicePanel::letPendingEventsRun()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void DevicePanel::ClearDeviceInfo()
{
    m_ui.startupTimer.stop();
    for (QLabel *l : {m_ui.main.LabBiosVersion, m_ui.main.LabBiosCode, m_ui.main.LabBiosConfig, m_ui.main.LabBiosInfo,
                      m_ui.main.LabBiosDate, m_ui.main.labCapacity})
        l->setText(NoValue);
    setOpen(false);
    m_failed.hide();
    m_ui.main.sBar->clearMessage();
    letPendingEventsRun();
}

void DevicePanel::HidEnum()
{
    // The open controller left: its countdown ends without a word, and what
    // was not sent to it is said once the new state shows.
    QString unsent;
    if (m_open && !m_session.selectedPresent() && m_editor && m_editor->controllerLeft())
        unsent = TranslateText(QStringLiteral("Changes not sent: %1 was disconnected")).arg(m_session.serial());
    // Changes not yet sent keep their controller open whatever arrives, even
    // the one used last: only the user leaves it, and is asked first.
    const bool keepOpen = m_open && m_session.selectedPresent() && m_session.changed();

    m_ui.main.labNoCorvane->hide();
    m_ui.main.labNoCorvaneHint->hide();
    OldDrop = m_ui.main.cbHid->currentText();
    // The device shown has left, even if one with the same serial number took
    // its place within one change: whatever is chosen now is opened anew.
    if (!m_session.selectedPresent())
        OldDrop.clear();

    int selected = -1;
    {
        // Filling the list is not a choice of the user.
        const QSignalBlocker quiet(m_ui.main.cbHid);
        m_ui.main.cbHid->clear();
        for (const ControllerInfo &controller : m_session.controllers())
            m_ui.main.cbHid->addItem(controller.serial);
        selected = keepOpen ? -1 : indexOfSerial(m_ui.main.cbHid, SaveSnr);
        if (selected < 0)
            selected = indexOfSerial(m_ui.main.cbHid, OldDrop);
        if (selected < 0 && m_ui.main.cbHid->count() > 0)
            selected = 0;
        m_ui.main.cbHid->setCurrentIndex(selected);
    }

    if (selected >= 0) {
        cbHidChange();
    } else {
        const quint64 step = ++m_sessionStep;
        ClearDeviceInfo();
        // A newer device list was handled while the cleared state was painted.
        if (step == m_sessionStep)
            showNoDevice();
    }
    if (!unsent.isEmpty())
        m_ui.main.sBar->showMessage(unsent);
}

void DevicePanel::cbHidDropDown()
{
    OldDrop = m_ui.main.cbHid->currentText();
}

// The user's choice in the list: changes not yet sent to the controller
// open now are not dropped without asking.
void DevicePanel::cbHidPicked()
{
    const QString picked = m_ui.main.cbHid->currentText();
    if (m_open && picked != OldDrop && m_session.changed()) {
        const auto showSerial = [this](const QString &serial) {
            const QSignalBlocker quiet(m_ui.main.cbHid);
            m_ui.main.cbHid->setCurrentIndex(indexOfSerial(m_ui.main.cbHid, serial));
        };
        // The list shows the open controller while the question waits, so a
        // device change handled meanwhile sees what is open.
        showSerial(OldDrop);
        if (!unsentChangesMayGo(picked) || indexOfSerial(m_ui.main.cbHid, picked) < 0)
            return;
        showSerial(picked);
    }
    cbHidChange();
}

// Asks what becomes of the open controller's unsent changes before `next`
// is opened: true when they may go, sent or discarded.
bool DevicePanel::unsentChangesMayGo(const QString &next)
{
    const SessionTicket ticket = m_session.ticket();
    const quint64 step = m_sessionStep;
    const int answer = msgBox()->Execute(
        TranslateText(QStringLiteral("The changes to %1 have not been sent.\r\nSend them before opening %2?"))
            .arg(OldDrop, next),
        mtConfirmation, TranslateText(QStringLiteral("Confirm")), {mbSend, mbDiscard, mbCancel}, false);
    // A device change handled while the question was open has chosen already.
    if (step != m_sessionStep)
        return false;
    if (answer == mrSend)
        return m_editor && m_editor->SendConfig(ticket).ok();
    return answer == mrDiscard;
}

// Opens the controller shown again, from its identification on.
void DevicePanel::butRetryClick()
{
    OldDrop.clear();
    cbHidChange();
}

void DevicePanel::cbHidChange()
{
    const QString serial = m_ui.main.cbHid->currentText();
    if (serial == OldDrop)
        return;
    // The device shown is the one this session now stands for: choosing it
    // again, by mouse or by keyboard, must do nothing, and choosing the one
    // before it must open that one again.
    OldDrop = serial;

    // Each step below may let a device change run; when that change opened
    // a device or found none, it has taken over and this opening ends.
    const quint64 step = ++m_sessionStep;
    const auto superseded = [this, step] { return step != m_sessionStep; };

    ClearDeviceInfo();
    if (superseded())
        return;
    m_ui.editor.pageConfig->hide();
    m_ui.main.LED1->setOn(false);
    m_ui.main.LED1->setOnColor(LedOpening);
    m_ui.main.LED1->setOn(true);

    const bool identified = ReadDeviceInfo();
    if (superseded() || !identified)
        return;
    // A load that fails is explained as it is shown (loadShown).
    if (m_editor)
        m_editor->DoInit();
    if (superseded() || !m_session.loaded())
        return;
    showOpened();
}

bool DevicePanel::ReadDeviceInfo()
{
    if (!m_session.started())
        return false;
    m_session.select(m_ui.main.cbHid->currentIndex());

    // Read-outs the identification does not reach keep what they show.
    DeviceReadouts readouts;
    readouts.version = m_ui.main.LabBiosVersion->text();
    readouts.code = m_ui.main.LabBiosCode->text();
    readouts.info = m_ui.main.LabBiosInfo->text();
    readouts.date = m_ui.main.LabBiosDate->text();
    readouts.config = m_ui.main.LabBiosConfig->text();

    bool identified = false;
    const SessionResult result = m_session.identify(readouts, &identified);

    m_ui.main.LabBiosVersion->setText(readouts.version);
    m_ui.main.LabBiosCode->setText(readouts.code);
    m_ui.main.LabBiosInfo->setText(readouts.info);
    m_ui.main.LabBiosDate->setText(readouts.date);
    m_ui.main.LabBiosConfig->setText(readouts.config);

    // A controller this user may not open (no udev rule yet) says why in
    // the window and nothing else: every exchange would only fail.
    const bool noAccess = result.kind == SessionResult::Kind::NoAccess;
    if (!identified)
        showFailure(noAccess ? FailedStatePanel::Reason::NoAccess : FailedStatePanel::Reason::NotIdentified,
                    result.message);
    if (!result.ok() && !noAccess)
        showError(result.message);
    return identified;
}

// Present but not open: the LED stays yellow and the editor's place says why.
void DevicePanel::showFailure(FailedStatePanel::Reason reason, const QString &message)
{
    m_ui.editor.pageConfig->hide();
    m_ui.main.LED1->setOnColor(LedOpening);
    m_ui.main.LED1->setOn(true);
    m_failed.show(reason, message);
}

void DevicePanel::showNoDevice()
{
    m_ui.editor.pageConfig->hide();
    m_ui.main.LED1->setOn(false);
    m_ui.main.labNoCorvane->show();
    m_ui.main.labNoCorvaneHint->show();
}

// Green only for a good load in the editor.
void DevicePanel::showOpened()
{
    m_ui.main.LED1->setOnColor(LedOpen);
    m_ui.editor.pageConfig->show();
    setOpen(true);
    emit deviceOpened(m_ui.main.cbHid->currentText());
}

// Profiles and auto-send belong to an open controller.
void DevicePanel::setOpen(bool open)
{
    m_open = open;
    m_ui.loadProfile->setEnabled(open);
    // Only what was read from this controller may go into a file.
    m_ui.saveProfile->setEnabled(open && m_session.allRead());
    m_ui.main.chkAutoSend->setEnabled(open);
}

// A load that failed, the opening's or a later one (the read-back after a
// reset or a profile), leaves nothing to edit or send: the controller is
// not open. Said before the editor's message box shows over it.
void DevicePanel::loadShown(const SessionResult &load)
{
    if (load.ok())
        return;
    setOpen(false);
    const QString where = load.tag.isEmpty() ? QString() : QStringLiteral(": ") + load.tag;
    showFailure(FailedStatePanel::Reason::NotRead, load.message + where);
}

// A function for the controller open at the click: the pending-events step
// may open another, which the session then keeps out of reach.
void DevicePanel::runFunction(QPushButton *button, SessionResult (ControllerSession::*function)(const SessionTicket &))
{
    const SessionTicket ticket = m_session.ticket();
    ButtonBusy busy(button);
    letPendingEventsRun();
    const SessionResult r = (m_session.*function)(ticket);
    busy.release();
    if (!r.ok())
        showError(r.message);
}

void DevicePanel::butRestartClick()
{
    // Nothing is re-read: the controller leaves the bus and the device list
    // opens it again when it returns.
    runFunction(m_ui.editor.butRestart, &ControllerSession::restart);
}

void DevicePanel::butPatternClick()
{
    runFunction(m_ui.editor.butPattern, &ControllerSession::testPattern);
}

void DevicePanel::butDefaultClick()
{
    // The question is about the controller open now; a device change
    // handled while it is shown must not redirect the answer.
    const SessionTicket ticket = m_session.ticket();
    const int answer = msgBox()->Execute(
        TranslateText(QStringLiteral("Do you want to reset all parameters\r\nto their default values?")),
        mtConfirmation, TranslateText(QStringLiteral("Confirm")), mbYes | mbNo, false);
    if (answer != mrYes)
        return;

    // The defaults are read back by the session and shown by the editor.
    ButtonBusy busy(m_ui.editor.butDefault);
    letPendingEventsRun();
    if (const SessionResult r = m_session.resetDefaults(ticket); !r.ok() && r.kind != SessionResult::Kind::LoadFailed) {
        busy.release();
        showError(r.message);
    }
}
