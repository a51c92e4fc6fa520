#include "ui/editor/EditorBinding.h"
#include "ui_ConfigEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

#include <algorithm>
#include <limits>

EditorBinding::EditorBinding(Ui::ConfigEditorForm &ui)
    : m_entries{{
        {FieldId::KeysBootloaderMs, ui.edKeyBoot},
        {FieldId::KeysPcDiskMs, ui.edKeyMSC},
        {FieldId::StartupRed, ui.edStartupR},
        {FieldId::StartupGreen, ui.edStartupG},
        {FieldId::StartupBlue, ui.edStartupB},
        {FieldId::StartupLengthMs, ui.edStartupTime},
        {FieldId::ComProtocol, ui.cbComProto},
        {FieldId::LedProtocol, ui.cbLedProto},
        {FieldId::LayoutType, ui.cbLayout},
        {FieldId::BrightnessPercent, ui.edBright},
        {FieldId::Channel1ColorOrder, ui.cbLedCol0},
        {FieldId::Channel2ColorOrder, ui.cbLedCol1},
        {FieldId::Channel3ColorOrder, ui.cbLedCol2},
        {FieldId::Channel4ColorOrder, ui.cbLedCol3},
        {FieldId::Channel5ColorOrder, ui.cbLedCol4},
        {FieldId::Channel6ColorOrder, ui.cbLedCol5},
        {FieldId::Channel7ColorOrder, ui.cbLedCol6},
        {FieldId::Channel8ColorOrder, ui.cbLedCol7},
        {FieldId::StripeMirror, ui.chkStripeMirror},
        {FieldId::MatrixMirrorX, ui.chkMirrorX},
        {FieldId::MatrixMirrorY, ui.chkMirrorY},
        {FieldId::StripeLedsPerChannel, ui.edStripeCount},
        {FieldId::StripeChannels, ui.edStripeChannels},
        {FieldId::MatrixModulesX, ui.edMatrixX},
        {FieldId::MatrixModulesY, ui.edMatrixY},
        {FieldId::MatrixModuleLedsX, ui.edMatrixLedX},
        {FieldId::MatrixModuleLedsY, ui.edMatrixLedY},
        {FieldId::MatrixLedOrder, ui.cbLedOrder},
        {FieldId::MatrixFirstLed, ui.cbFirstLed},
        {FieldId::Ws2811Period, ui.edWS2812per},
        {FieldId::Ws2811T0h, ui.edWS2812t0h},
        {FieldId::Ws2811T1h, ui.edWS2812t1h},
        {FieldId::Apa106Period, ui.edAPA106per},
        {FieldId::Apa106T0h, ui.edAPA106t0h},
        {FieldId::Apa106T1h, ui.edAPA106t1h},
        {FieldId::Ws2821BitWidth, ui.edWS2821bw},
        {FieldId::Ws2801Clock, ui.cbWS2801clk},
        {FieldId::Apa102Clock, ui.cbAPA102clk},
        {FieldId::Lpd8803Clock, ui.cbLPD8803clk},
    }}
{
}

QWidget *EditorBinding::control(FieldId field) const
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [field](const Entry &e) { return e.field == field; });
    return it != m_entries.end() ? it->control : nullptr;
}

FieldValues EditorBinding::read() const
{
    FieldValues values{};
    for (const Entry &e : m_entries) {
        if (auto *spin = qobject_cast<QSpinBox *>(e.control))
            at(values, e.field) = spin->value();
        else if (auto *combo = qobject_cast<QComboBox *>(e.control))
            at(values, e.field) = combo->currentIndex();
        else if (auto *check = qobject_cast<QCheckBox *>(e.control))
            at(values, e.field) = check->isChecked() ? 1 : 0;
    }
    return values;
}

void EditorBinding::show(FieldId field, int64_t value) const
{
    // Values beyond int (a whole 32-bit word as an index) can never be shown.
    const int shown = int(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    QWidget *c = control(field);
    if (auto *spin = qobject_cast<QSpinBox *>(c))
        spin->setValue(shown);
    else if (auto *combo = qobject_cast<QComboBox *>(c))
        combo->setCurrentIndex(value >= 0 && value < combo->count() ? shown : -1);
    else if (auto *check = qobject_cast<QCheckBox *>(c))
        check->setChecked(value != 0);
}

void EditorBinding::onEdited(QObject *context, const std::function<void(FieldId)> &edited) const
{
    for (const Entry &e : m_entries) {
        const auto run = [edited, field = e.field] { edited(field); };
        if (auto *spin = qobject_cast<QSpinBox *>(e.control))
            QObject::connect(spin, &QSpinBox::valueChanged, context, run);
        else if (auto *combo = qobject_cast<QComboBox *>(e.control))
            QObject::connect(combo, &QComboBox::currentIndexChanged, context, run);
        else if (auto *check = qobject_cast<QCheckBox *>(e.control))
            QObject::connect(check, &QCheckBox::clicked, context, run);
    }
}
