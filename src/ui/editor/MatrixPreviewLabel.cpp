#include "ui/editor/MatrixPreviewLabel.h"

#include "core/params/MatrixPreview.h"

#include <QEvent>
#include <QPixmap>

MatrixPreviewLabel::MatrixPreviewLabel(QWidget *parent)
    : QLabel(parent)
{
    setFixedSize(kPreviewWidth, kPreviewHeight);
}

void MatrixPreviewLabel::showLayout(int modulesX, int modulesY, int firstLed, int ledOrder)
{
    m_layout = Layout{modulesX, modulesY, firstLed, ledOrder};
    render();
}

void MatrixPreviewLabel::showBlank()
{
    m_layout.reset();
    render();
}

void MatrixPreviewLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        render();
}

bool MatrixPreviewLabel::event(QEvent *event)
{
    // Moving to a screen of another pixel ratio.
    if (event->type() == QEvent::ScreenChangeInternal)
        render();
    return QLabel::event(event);
}

// The panel the image sits on gives the background.
QColor MatrixPreviewLabel::background() const
{
    const QWidget *panel = parentWidget() ? parentWidget() : this;
    return panel->palette().color(QPalette::Window);
}

void MatrixPreviewLabel::render()
{
    const Layout l = m_layout.value_or(Layout{0, 0, -1, -1});
    setPixmap(QPixmap::fromImage(
        renderMatrixPreview(l.modulesX, l.modulesY, l.firstLed, l.ledOrder, background(), devicePixelRatioF())));
}
