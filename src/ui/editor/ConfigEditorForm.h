#pragma once
#include <QWidget>

namespace Ui {
class ConfigEditorForm;
}

// The four-page configuration editor. It only lays the controls out and
// gives them their ranges and items; TCfg finds them by object name and
// does the binding.
class ConfigEditorForm : public QWidget {
    Q_OBJECT
public:
    explicit ConfigEditorForm(QWidget *parent = nullptr);
    ~ConfigEditorForm() override;

    // Background of the matrix preview (the colour of panBack1).
    static QColor previewBackground();

private:
    void applyParamTable();

    Ui::ConfigEditorForm *ui;
};
