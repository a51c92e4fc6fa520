#include "ui/editor/uConfig.h"

#include "core/params/MatrixPreview.h"

#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <QWidget>

void TCfg::DrawMatrixPreview()
{
    QSpinBox *mx = Spin("edMatrixX");
    QSpinBox *my = Spin("edMatrixY");
    LastMatrixX = mx ? mx->value() : 0;
    LastMatrixY = my ? my->value() : 0;

    auto *image = Label("panImg");
    if (!image)
        return;
    QComboBox *first = Combo("cbFirstLed");
    QComboBox *order = Combo("cbLedOrder");
    // The preview's background is the colour of the panel it sits on.
    auto *panel = qobject_cast<QWidget *>(Control(QStringLiteral("panBack1")));
    const QColor background = panel ? panel->palette().color(QPalette::Window)
                                     : image->palette().color(QPalette::Window);
    image->setPixmap(QPixmap::fromImage(renderMatrixPreview(
        LastMatrixX, LastMatrixY, first ? first->currentIndex() : -1,
        order ? order->currentIndex() : -1, background)));
}
