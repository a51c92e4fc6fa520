#pragma once

class QWidget;

// A list or spin box takes the mouse wheel only while it has the keyboard
// focus, and the wheel no longer gives it the focus: turning the wheel
// over a page changes no setting on its way. Without the focus the wheel
// goes on to the control's parent.
void takeWheelOnlyWithFocus(QWidget *control);
