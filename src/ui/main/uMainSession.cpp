// The device session: the device list follows the bus, the selected device
// is identified and its configuration loaded into the editor.

#include "ui/main/uMain.h"

#include "ui/main/LedIndicator.h"
#include "device/DeviceIdentity.h"
#include "ui/dialogs/uMessageBox.h"
#include "ui_uMain.h"

#include <QCoreApplication>
#include <QSignalBlocker>
#include <QTabWidget>
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

} // namespace

void TMain::Startup()
{
    Timer1.stop();
    // The device link starts once.
    if (m_comHid)
        return;
    ClearDeviceInfo();
    m_comHid = std::make_unique<TComHid>(m_setup.ControllerFactory);
    if (m_setup.Trace)
        m_comHid->SetTrace(m_setup.Trace);
    // The first scan, and with it the opening of a device, happens in here.
    m_comHid->SetOnEnum([this] { HidEnum(); });
}

// Repaints now so a cleared state shows at once. Device changes that are
// waiting run here too (the session is between commands); input stays
// queued, so no button can start a second operation inside this one.
void TMain::LetPendingEventsRun()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TMain::ClearDeviceInfo()
{
    Timer1.stop();
    for (QLabel *l : {ui->LabBiosVersion, ui->LabBiosCode, ui->LabBiosConfig, ui->LabBiosInfo, ui->LabBiosDate,
                      ui->labCapacity})
        l->setText(NoValue);
    butLoadProfile->setEnabled(false);
    butSaveProfile->setEnabled(false);
    m_cfgLoaded = false;
    ui->sBar->clearMessage();
    ui->chkAutoSend->setEnabled(false);
    LetPendingEventsRun();
}

void TMain::HidEnum()
{
    ui->labNoCorvane->hide();
    OldDrop = ui->cbHid->currentText();

    int selected = -1;
    {
        // Filling the list is not a choice of the user.
        const QSignalBlocker quiet(ui->cbHid);
        ui->cbHid->clear();
        for (const TDevListEntry &entry : std::as_const(m_comHid->DevList))
            ui->cbHid->addItem(entry.Text);
        selected = indexOfSerial(ui->cbHid, SaveSnr);
        if (selected < 0)
            selected = indexOfSerial(ui->cbHid, OldDrop);
        if (selected < 0 && ui->cbHid->count() > 0)
            selected = 0;
        ui->cbHid->setCurrentIndex(selected);
    }

    if (selected >= 0) {
        cbHidChange();
        return;
    }
    const quint64 step = ++m_sessionStep;
    ClearDeviceInfo();
    // A newer device list was handled while the cleared state was painted.
    if (step != m_sessionStep)
        return;
    ShowNoDevice();
}

void TMain::cbHidDropDown()
{
    OldDrop = ui->cbHid->currentText();
}

void TMain::cbHidChange()
{
    const QString serial = ui->cbHid->currentText();
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
    if (QTabWidget *page = PageConfig())
        page->hide();
    ui->LED1->SetOn(false);
    ui->LED1->SetOnColor(LedOpening);
    ui->LED1->SetOn(true);

    const bool identified = ReadDeviceInfo();
    if (superseded())
        return;
    ReportAccessProblem();
    if (!identified)
        return;

    if (m_cfg)
        m_cfg->DoInit();
    if (superseded())
        return;
    ShowOpened();
}

bool TMain::ReadDeviceInfo()
{
    if (!m_comHid)
        return false;
    m_comHid->SetDevice(ui->cbHid->currentIndex());

    // Read-outs the identification does not reach keep what they show.
    TDeviceReadouts readouts;
    readouts.Version = ui->LabBiosVersion->text();
    readouts.Code = ui->LabBiosCode->text();
    readouts.Info = ui->LabBiosInfo->text();
    readouts.Date = ui->LabBiosDate->text();
    readouts.Config = ui->LabBiosConfig->text();

    const TIdentifyResult result = IdentifyDevice(*m_comHid, BiosInfo, m_crypt, readouts);

    ui->LabBiosVersion->setText(readouts.Version);
    ui->LabBiosCode->setText(readouts.Code);
    ui->LabBiosInfo->setText(readouts.Info);
    ui->LabBiosDate->setText(readouts.Date);
    ui->LabBiosConfig->setText(readouts.Config);

    if (!result.Error.isEmpty())
        ShowError(result.Error);
    return result.Result;
}

// A controller that is plugged in but cannot be opened (no udev rule yet)
// says why; the user hears it once per device and run, not at every replug.
void TMain::ReportAccessProblem()
{
    if (!m_comHid || !m_comHid->Dev)
        return;
    const QString problem = m_comHid->Dev->AccessProblem();
    const QString serial = ui->cbHid->currentText();
    if (problem.isEmpty() || m_accessProblemsShown.contains(serial))
        return;
    m_accessProblemsShown.insert(serial);
    MsgBox()->Execute(problem, mtInformation, QString(), mbOK, false);
}

void TMain::ShowNoDevice()
{
    if (QTabWidget *page = PageConfig())
        page->hide();
    ui->LED1->SetOn(false);
    ui->labNoCorvane->show();
}

void TMain::ShowOpened()
{
    ui->LED1->SetOnColor(LedOpen);
    if (QTabWidget *page = PageConfig())
        page->show();
    butLoadProfile->setEnabled(true);
    butSaveProfile->setEnabled(true);
    ui->chkAutoSend->setEnabled(true);
    emit DeviceOpened(ui->cbHid->currentText());
}
