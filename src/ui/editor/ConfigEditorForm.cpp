#include "ui/editor/ConfigEditorForm.h"
#include "ui_ConfigEditor.h"

#include "ui/editor/EditorAccessibility.h"
#include "ui/editor/ReadoutRoom.h"

#include "core/params/MatrixPreview.h"
#include "core/params/ProtocolLimits.h"
#include "ui/editor/EditorBinding.h"
#include "ui/widgets/TypedValueClamp.h"
#include "ui/widgets/WheelGuard.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QPalette>
#include <QSpinBox>
#include <QStandardItemModel>

ConfigEditorForm::ConfigEditorForm(QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::ConfigEditorForm)
{
    m_ui->setupUi(this);
    applyParamModel();
    // A list is as wide as its longest item, also after the items were
    // filled or translated (by default Qt measures once, when first shown).
    for (QComboBox *combo : findChildren<QComboBox *>()) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        takeWheelOnlyWithFocus(combo);
    }
    for (QSpinBox *spin : findChildren<QSpinBox *>()) {
        clampTypedValues(spin);
        takeWheelOnlyWithFocus(spin);
    }
    reserveReadoutRoom(*m_ui);
    applyAccessibleNames(*m_ui);

    m_ui->panImg->showBlank();
}

ConfigEditorForm::~ConfigEditorForm()
{
    delete m_ui;
}

void ConfigEditorForm::refreshAccessibleNames()
{
    applyAccessibleNames(*m_ui);
}

// The panel keeps the palette's window colour, so the preview follows a
// dark theme as the rest of the window does.
QColor ConfigEditorForm::previewBackground()
{
    return QGuiApplication::palette().color(QPalette::Window);
}

// Ranges, steps, units and list items come from the parameter model, so the
// form and the codec can never disagree about what a field holds.
void ConfigEditorForm::applyParamModel()
{
    // Protocol-limited counts start at the limits of the first protocol; the
    // editor narrows or widens them when a protocol is chosen.
    const ProtocolLimits first = *protocolLimits(0);
    // Named: the entries are a view into the binding, which must outlive the loop.
    const EditorBinding binding(*m_ui);
    for (const EditorBinding::Entry &entry : binding.entries()) {
        const ParamField &field = paramField(entry.field);
        if (auto *spin = qobject_cast<QSpinBox *>(entry.control)) {
            int64_t max = field.max;
            if (field.limit == FieldLimit::LedsPerChannel)
                max = first.stripeMax;
            else if (field.limit == FieldLimit::Channels)
                max = first.channelMax;
            spin->setRange(int(field.min), int(max));
            spin->setSingleStep(field.step);
            spin->setSuffix(*field.unit ? QLatin1Char(' ') + QString::fromUtf8(field.unit) : QString());
        } else if (auto *combo = qobject_cast<QComboBox *>(entry.control)) {
            combo->clear();
            for (const FieldItem &item : field.items)
                combo->addItem(QString::fromUtf8(item.text));
        }
    }
    // The bit clock lists end with an empty ninth item. It shows a
    // controller's value that selects it, but the controller refuses it as a
    // new value, so it cannot be chosen: a choice that could only fail.
    for (QComboBox *clock : {m_ui->cbWS2801clk, m_ui->cbAPA102clk, m_ui->cbLPD8803clk}) {
        clock->addItem(QString());
        if (auto *items = qobject_cast<QStandardItemModel *>(clock->model()))
            items->item(clock->count() - 1)->setEnabled(false);
    }
}
