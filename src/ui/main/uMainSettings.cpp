// The main window's settings file: the "CONFIG" values and the window placement.

#include "ui/main/uMain.h"

#include "ui/main/DevicePanel.h"

#include "core/files/SettingsFile.h"
#include "core/files/WindowPlacement.h"
#include "ui_uMain.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>
#include <QTabWidget>

Q_DECLARE_LOGGING_CATEGORY(lcMain)

namespace {

int screenDpi(const QWidget *w)
{
    const QScreen *s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? qRound(s->logicalDotsPerInch()) : 0;
}

} // namespace

void TMain::ReadSettings()
{
    const ConfigSettings c = m_iniFile->readConfig();
    m_devices->SaveSnr = c.device;
    StoredLanguage = c.language;
    ui->chkAutoSend->setChecked(c.autoSend);
    PageConfig()->setCurrentIndex(c.tabActive);
}

void TMain::WriteSettings()
{
    ConfigSettings c;
    c.device = ui->cbHid->currentText();
    c.language = CurrentLanguageCode();
    c.autoSend = ui->chkAutoSend->isChecked();
    c.tabActive = qMax(0, PageConfig()->currentIndex());
    if (!m_iniFile->writeConfig(c))
        qCWarning(lcMain) << "settings not saved:" << m_iniFile->errorString();
}

void TMain::RestorePlacement()
{
    const WindowPlacement p = m_iniFile->readPlacement();
    const auto onSomeScreen = [](QPoint at) { return QGuiApplication::screenAt(at) != nullptr; };
    if (!placementApplies(p, screenDpi(this), onSomeScreen)) {
        const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
        if (s) {
            QRect r = frameGeometry();
            r.moveCenter(s->availableGeometry().center());
            move(r.topLeft());
        }
        return;
    }
    // The stored rectangle is the outer one; the window keeps its own size.
    move(p.normPos->left, p.normPos->top);
    switch (showStateFromCmd(p.showCmd)) {
    case WindowShowState::Normal:
        break;
    case WindowShowState::Minimised:
        setWindowState(windowState() | Qt::WindowMinimized);
        break;
    case WindowShowState::Maximised:
        setWindowState(windowState() | Qt::WindowMaximized);
        break;
    }
}

void TMain::WritePlacement()
{
    WindowPlacement p;
    p.showCmd = showCmdFromWindowState(windowState());
    p.pixelsPerInch = screenDpi(this);

    // The normal rectangle with the frame around it, as it is restored.
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins border(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                          frame.bottom() - client.bottom());
    QRect normal = client;
    if ((windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) && normalGeometry().isValid())
        normal = normalGeometry();
    const QRect outer = normal.marginsAdded(border);
    p.normPos = WindowPlacement::Rect{outer.left(), outer.top(), outer.left() + outer.width(),
                                      outer.top() + outer.height()};
    if (!m_iniFile->writePlacement(p))
        qCWarning(lcMain) << "window placement not saved:" << m_iniFile->errorString();
}
