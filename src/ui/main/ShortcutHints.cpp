#include "ui/main/ShortcutHints.h"

#include <QAbstractButton>
#include <QHelpEvent>
#include <QToolTip>

namespace {

// Shows the combined tool tip in place of the plain hint.
class ToolTipFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *button = qobject_cast<QAbstractButton *>(watched);
        if (!button || event->type() != QEvent::ToolTip)
            return false;
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), ShortcutHints::toolTipOf(button), button);
        return true;
    }
};

} // namespace

namespace ShortcutHints {

void assign(QAbstractButton *button, const QKeySequence &keys)
{
    button->setShortcut(keys);
    button->installEventFilter(new ToolTipFilter(button));
}

QString toolTipOf(const QAbstractButton *button)
{
    const QString keys = button->shortcut().toString(QKeySequence::NativeText);
    if (keys.isEmpty())
        return button->toolTip();
    if (button->toolTip().isEmpty())
        return keys;
    return button->toolTip() + QStringLiteral(" (") + keys + QLatin1Char(')');
}

} // namespace ShortcutHints
