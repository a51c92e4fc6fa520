#include "ui/main/WindowPlacementStore.h"

#include "core/files/SettingsFile.h"
#include "core/files/WindowPlacement.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>
#include <QWidget>

Q_LOGGING_CATEGORY(lcPlacement, "corvane.ui.placement")

namespace {

int screenDpi(const QWidget *w)
{
    const QScreen *s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? qRound(s->logicalDotsPerInch()) : 0;
}

} // namespace

void restoreWindowPlacement(QWidget &window, SettingsFile &file)
{
    const WindowPlacement p = file.readPlacement();
    const auto onSomeScreen = [](QPoint at) { return QGuiApplication::screenAt(at) != nullptr; };
    if (!placementApplies(p, screenDpi(&window), onSomeScreen)) {
        const QScreen *s = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
        if (s) {
            QRect r = window.frameGeometry();
            r.moveCenter(s->availableGeometry().center());
            window.move(r.topLeft());
        }
        return;
    }
    // The stored rectangle is the outer one; the window keeps its own size.
    window.move(p.normPos->left, p.normPos->top);
    switch (showStateFromCmd(p.showCmd)) {
    case WindowShowState::Normal:
        break;
    case WindowShowState::Minimised:
        window.setWindowState(window.windowState() | Qt::WindowMinimized);
        break;
    case WindowShowState::Maximised:
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
        break;
    }
}

void writeWindowPlacement(const QWidget &window, SettingsFile &file)
{
    WindowPlacement p;
    p.showCmd = showCmdFromWindowState(window.windowState());
    p.pixelsPerInch = screenDpi(&window);

    // The normal rectangle with the frame around it, as it is restored.
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const QMargins border(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                          frame.bottom() - client.bottom());
    QRect normal = client;
    if ((window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) && window.normalGeometry().isValid())
        normal = window.normalGeometry();
    const QRect outer = normal.marginsAdded(border);
    p.normPos = WindowPlacement::Rect{outer.left(), outer.top(), outer.left() + outer.width(),
                                      outer.top() + outer.height()};
    if (!file.writePlacement(p))
        qCWarning(lcPlacement) << "window placement not saved:" << file.errorString();
}
