#pragma once
#include <QKeySequence>

class QAbstractButton;

// Keyboard shortcuts for the window's buttons, shown in their tool tips.
namespace ShortcutHints {

// Gives `button` the shortcut `keys`. Its tool tip then reads the button's
// hint followed by the keys in the platform's notation, "Open config
// (Ctrl+O)"; the hint itself is left as it is, so the language switch still
// finds the text it translated.
void assign(QAbstractButton *button, const QKeySequence &keys);

// The tool tip shown for `button`: its hint with its shortcut, if any.
QString toolTipOf(const QAbstractButton *button);

} // namespace ShortcutHints
