#include "ui/widgets/TabOrder.h"

#include <QWidget>

namespace {

// The widget, then its descendants as the focus chain orders them now.
QList<QWidget *> withDescendants(QWidget *widget)
{
    QList<QWidget *> out{widget};
    for (QWidget *w = widget->nextInFocusChain(); w != widget; w = w->nextInFocusChain()) {
        if (widget->isAncestorOf(w))
            out.append(w);
    }
    return out;
}

} // namespace

void chainTabOrder(const QList<QWidget *> &widgets)
{
    QList<QWidget *> order;
    for (QWidget *w : widgets)
        order += withDescendants(w);
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}
