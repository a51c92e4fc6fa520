#include "ui/editor/ConfigEditorForm.h"
#include "ui_ConfigEditor.h"

#include "core/params/MatrixPreview.h"
#include "core/params/ParamTable.h"

#include <QComboBox>
#include <QPixmap>
#include <QSpinBox>

ConfigEditorForm::ConfigEditorForm(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::ConfigEditorForm)
{
    ui->setupUi(this);
    applyParamTable();

    QPalette pal = ui->panBack1->palette();
    pal.setColor(QPalette::Window, previewBackground());
    ui->panBack1->setPalette(pal);
    QPixmap blank(kPreviewWidth, kPreviewHeight);
    blank.fill(previewBackground());
    ui->panImg->setPixmap(blank);
}

ConfigEditorForm::~ConfigEditorForm()
{
    delete ui;
}

QColor ConfigEditorForm::previewBackground()
{
    return QColor(0xD4, 0xD0, 0xC8);
}

// Ranges, steps, suffixes and list items come from the parameter table, so
// the form and the codec can never disagree about what a field holds.
void ConfigEditorForm::applyParamTable()
{
    for (const ControlRange &range : controlRanges()) {
        auto *spin = findChild<QSpinBox *>(QLatin1String(range.name));
        if (!spin)
            continue;
        spin->setRange(range.min, range.max);
        spin->setSingleStep(range.step);
        spin->setPrefix(QString::fromUtf8(range.prefix));
        spin->setSuffix(QString::fromUtf8(range.suffix));
    }
    for (QComboBox *combo : findChildren<QComboBox *>()) {
        ComboList list;
        if (!comboListOf(combo->objectName(), &list))
            continue;
        combo->clear();
        combo->addItems(comboItems(list));
    }
}
