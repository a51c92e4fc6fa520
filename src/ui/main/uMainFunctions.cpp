// The controller's functions on the editor's first page: Restart, Activate
// Testpattern and Reset To Default.

#include "ui/main/uMain.h"

#include "device/DeviceFunctions.h"
#include "core/i18n/TranslateText.h"
#include "ui/dialogs/uMessageBox.h"

#include <QPushButton>

#include <chrono>
#include <thread>

namespace {

// Keeps a function button disabled while its command runs, so a second
// click cannot start the same command twice; enabled again however it ends.
class ButtonBusy
{
public:
    explicit ButtonBusy(QPushButton *button)
        : m_button(button)
    {
        if (m_button)
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

void TMain::butRestartClick()
{
    ButtonBusy busy(Control<QPushButton>("butRestart"));
    LetPendingEventsRun();
    TAnswerBuf spare{};
    const uint16_t r = m_comHid ? RestartDevice(*m_comHid, m_cfg ? m_cfg->Buf : spare, m_crypt[kCryptWriteWord])
                                : Status::CommunicationError;
    busy.release();
    // Nothing is re-read: the controller leaves the bus and the device list
    // opens it again when it returns.
    if (r != Status::Ok)
        ShowError(QStringLiteral("Restart Error = ") + TComHid::ErrToStr(r));
}

void TMain::butPatternClick()
{
    ButtonBusy busy(Control<QPushButton>("butPattern"));
    LetPendingEventsRun();
    TAnswerBuf spare{};
    const uint16_t r = m_comHid ? ActivateTestPattern(*m_comHid, m_cfg ? m_cfg->Buf : spare)
                                : Status::CommunicationError;
    busy.release();
    if (r != Status::Ok)
        ShowError(QStringLiteral("Pattern Error = ") + TComHid::ErrToStr(r));
}

void TMain::butDefaultClick()
{
    const int answer = MsgBox()->Execute(
        TranslateText(QStringLiteral("Do you want to reset all parameters\r\nto their default values?")),
        mtConfirmation, TranslateText(QStringLiteral("Confirm")), mbYes | mbNo, false);
    if (answer != mrYes)
        return;

    ButtonBusy busy(Control<QPushButton>("butDefault"));
    LetPendingEventsRun();
    TAnswerBuf spare{};
    const uint16_t r = m_comHid ? ResetToDefaults(*m_comHid, m_cfg ? m_cfg->Buf : spare, m_crypt[kCryptWriteWord])
                                : Status::CommunicationError;
    if (r != Status::Ok) {
        busy.release();
        ShowError(QStringLiteral("Reset Error = ") + TComHid::ErrToStr(r));
        return;
    }
    // The controller needs a moment before its defaults can be read back.
    std::this_thread::sleep_for(std::chrono::milliseconds(kResetSettleMs));
    m_cfgLoaded = false;
    if (m_cfg)
        m_cfg->DoInit();
}
