#pragma once
#include "core/params/ParamCodec.h"

#include <QWidget>

#include <array>
#include <functional>
#include <span>

namespace Ui {
class ConfigEditorForm;
}

// Which control of the editor form shows which field: one table of the
// form's generated pointers, so a control renamed in the form no longer
// builds instead of silently dropping out. Every field but the capacity (a
// read-out of the main window) has exactly one control.
class EditorBinding {
public:
    struct Entry {
        FieldId field;
        QWidget *control; // a QSpinBox, QComboBox or QCheckBox
    };

    explicit EditorBinding(Ui::ConfigEditorForm &ui);

    std::span<const Entry> entries() const { return m_entries; }
    // nullptr for a field without a control (the capacity).
    QWidget *control(FieldId field) const;

    // Every control's value: spin values, item indexes (-1 without a
    // selection), check states as 0/1. The capacity is left at 0.
    FieldValues read() const;
    // Shows one field. A spin clamps a value outside its range; a list
    // clears its selection for an index it does not hold.
    void show(FieldId field, int64_t value) const;

    // Calls `edited` whenever a control changes: a spin's value, a list's
    // selection, a check box's click (a user's action only, as a check box
    // set in code must not count as an edit). The connections end with
    // `context`.
    void onEdited(QObject *context, const std::function<void(FieldId)> &edited) const;

private:
    std::array<Entry, kFieldCount - 1> m_entries;
};
