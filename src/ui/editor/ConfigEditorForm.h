#pragma once
#include <QWidget>

namespace Ui {
class ConfigEditorForm;
}

// The four-page configuration editor as laid out. It gives its controls
// their ranges and items from the parameter model; EditorBinding ties them
// to the fields.
class ConfigEditorForm : public QWidget {
    Q_OBJECT
public:
    explicit ConfigEditorForm(QWidget *parent = nullptr);
    ~ConfigEditorForm() override;

    Ui::ConfigEditorForm &form() { return *m_ui; }

    // Background of the matrix preview (the colour of panBack1).
    static QColor previewBackground();

    // Names the controls for assistive technology in the language shown;
    // the main window calls it after every language switch.
    void refreshAccessibleNames();

private:
    void applyParamModel();

    Ui::ConfigEditorForm *m_ui;
};
