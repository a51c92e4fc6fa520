#pragma once
#include <QList>

class QWidget;

// Makes Tab visit the widgets in the order given; a widget with children
// that take the focus brings them along in their own order.
void chainTabOrder(const QList<QWidget *> &widgets);
