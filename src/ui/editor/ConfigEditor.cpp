#include "ui/editor/ConfigEditor.h"
#include "ui_ConfigEditor.h"

#include "core/i18n/TranslateText.h"
#include "core/params/ProtocolLimits.h"
#include "ui/dialogs/uMessageBox.h"
#include "ui/editor/ConfigEditorForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace {
constexpr int kAutoSendMs = 10000;
const QString kNoValue = QStringLiteral("---");
} // namespace

ConfigEditor::ConfigEditor(ConfigEditorForm &form, const EditorFrame &frame, ControllerSession &session,
                           QObject *parent)
    : QObject(parent)
    , ui(form.form())
    , m_frame(frame)
    , m_session(session)
    , m_binding(form.form())
    , m_readouts(form.form())
{
    // Single shot: SendConfig stops it anyway, and only the next change may
    // arm it again. A coarse timer would round the countdown to its own
    // grid, so a change shortly after another might not push the send back.
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setTimerType(Qt::PreciseTimer);
    m_saveTimer.setInterval(kAutoSendMs);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] { SendConfig(m_countdownTicket); });
    connect(m_frame.send, &QPushButton::clicked, this, [this] { SendConfig(); });
    m_binding.onEdited(this, [this](FieldId field) { fieldEdited(field); });
}

SessionResult ConfigEditor::DoInit()
{
    if (m_session.CfgLoaded)
        return {};
    m_bound.reset();
    const SessionResult load = m_session.readAll();
    ShowLoad(load);
    return load;
}

void ConfigEditor::ShowLoad(const SessionResult &load)
{
    m_bound.reset();
    if (!load.ok()) {
        showFailedLoad();
        emit loadShown(false);
        ShowError(load.message, QStringLiteral("Config error"));
        return;
    }
    setUsable(true);
    FieldValues values{};
    for (const TCfgData &param : m_session.cfg().CfgData) {
        const auto tag = static_cast<ParamTag>(tagIndex(param.Code));
        loadParam(tag, param.Value, values);
        showTag(tag, values);
        setBound(tag, true);
    }
    m_readouts.DrawMatrixPreview();
    m_frame.send->setEnabled(false);
    emit loadShown(true);
}

// Sets a tag's controls from loaded values, then whatever depends on them.
void ConfigEditor::showTag(ParamTag tag, const FieldValues &values)
{
    if (tag == ParamTag::LMAX) {
        m_frame.capacity->setText(QStringLiteral("%1 LEDs").arg(m_session.cfg().LedMaxCnt));
        return;
    }
    for (const ParamField &field : paramRecord(tag).fields)
        m_binding.show(field.id, at(values, field.id));
    switch (tag) {
    case ParamTag::LPRO: m_readouts.SetProtocolLimits(); break;
    case ParamTag::CFG1: m_readouts.ShowWS2812Timing(); break;
    case ParamTag::CFG2: m_readouts.ShowAPA106Timing(); break;
    case ParamTag::CFG3: m_readouts.ShowWS2821Timing(); break;
    default: break;
    }
}

void ConfigEditor::setBound(ParamTag tag, bool bound)
{
    for (const ParamField &field : paramRecord(tag).fields)
        m_bound.set(std::size_t(fieldIndexOf(field.id)), bound);
}

// After a failed load the editor holds no values of this controller: it
// shows none and takes no edits, so nothing stale can be sent or saved.
void ConfigEditor::showFailedLoad()
{
    m_saveTimer.stop();
    setUsable(false);
    m_frame.capacity->setText(kNoValue);
    m_readouts.clear();
    m_frame.send->setEnabled(false);
    m_frame.status->clearMessage();
}

void ConfigEditor::setUsable(bool usable)
{
    for (const EditorBinding::Entry &e : m_binding.entries()) {
        e.control->setEnabled(usable);
        if (auto *spin = qobject_cast<QSpinBox *>(e.control)) {
            spin->setSpecialValueText(usable ? QString() : kNoValue);
            if (!usable)
                spin->setValue(spin->minimum());
        } else if (auto *combo = qobject_cast<QComboBox *>(e.control)) {
            if (!usable)
                combo->setCurrentIndex(-1);
        } else if (auto *check = qobject_cast<QCheckBox *>(e.control)) {
            if (!usable)
                check->setChecked(false);
        }
    }
}

// One path for every edit: the control's group is packed into its
// parameter, then the group's after-effects run. The groups' handlers are
// KeyTimingChange, StartupChange, ComProtoChange, LayoutChange, BrightChange,
// MirrorClick, StripeChange, MatrixLedChange, WS2801ClkChange,
// APA102ClkChange and LPD8803ClkChange (store, then CheckChanged), and the
// ones with after-effects below.
void ConfigEditor::fieldEdited(FieldId field)
{
    if (!m_bound.test(std::size_t(fieldIndexOf(field))))
        return;
    const ParamTag tag = paramField(field).tag;
    switch (tag) {
    case ParamTag::COL0:
    case ParamTag::COL1:
        LedColChange();
        return;
    case ParamTag::MCHN:
        MatrixCountChange();
        return;
    default:
        break;
    }
    store(tag);
    switch (tag) {
    case ParamTag::LPRO: // LedProtoChange: a lowered maximum clamps the bound
        CheckChanged();  // counts, which then arrive as ordinary edits
        m_readouts.SetProtocolLimits();
        return;
    case ParamTag::MXOR: // LedOrderChange
    case ParamTag::MBEG: // FirstLedChange
        CheckChanged();
        m_readouts.DrawMatrixPreview();
        return;
    case ParamTag::CFG1: // WS2812Change
        m_readouts.ShowWS2812Timing();
        break;
    case ParamTag::CFG2: // APA106Change
        m_readouts.ShowAPA106Timing();
        break;
    case ParamTag::CFG3: // WS2821Change
        m_readouts.ShowWS2821Timing();
        break;
    default:
        break;
    }
    CheckChanged();
}

void ConfigEditor::store(ParamTag tag)
{
    if (const auto word = packParam(tag, m_binding.read()))
        m_session.cfg().SetConfig(tagCode(tag), *word);
}

void ConfigEditor::MatrixCountChange()
{
    if (matrixModulesFit(ui.edMatrixX->value(), ui.edMatrixY->value(), ui.edStripeChannels->maximum())) {
        store(ParamTag::MCHN);
        CheckChanged();
        m_readouts.DrawMatrixPreview();
        return;
    }
    // Too many modules for the protocol's channels: quietly go back to the
    // last accepted counts. The restored values come back through here.
    ui.edMatrixX->setValue(m_readouts.LastMatrixX);
    ui.edMatrixY->setValue(m_readouts.LastMatrixY);
}

void ConfigEditor::LedColChange()
{
    const FieldValues values = m_binding.read();
    TCfg &cfg = m_session.cfg();
    for (int k = 0; k < 8; ++k)
        cfg.LedColors[k] = uint8_t(at(values, FieldId(fieldIndexOf(FieldId::Channel1ColorOrder) + k)));
    // Both halves are packed; only the one that really differs counts as
    // changed and is written.
    for (ParamTag tag : {ParamTag::COL0, ParamTag::COL1})
        cfg.SetConfig(tagCode(tag), *packParam(tag, values));
    CheckChanged();
}

bool ConfigEditor::CheckChanged()
{
    const bool changed = m_session.cfg().changed();
    m_frame.send->setEnabled(changed);
    if (changed && m_frame.autoSend->isChecked()) {
        m_countdownTicket = m_session.ticket();
        m_saveTimer.start(); // restarts a running countdown
    } else {
        m_saveTimer.stop();
    }
    if (changed)
        m_frame.status->showMessage(TranslateText(QStringLiteral("Parameter changed")));
    else
        m_frame.status->clearMessage();
    return changed;
}

LayoutArrangement ConfigEditor::arrangement() const
{
    LayoutArrangement a;
    a.layout = ui.cbLayout->currentIndex();
    a.stripeCount = ui.edStripeCount->value();
    a.stripeChannels = ui.edStripeChannels->value();
    a.matrixX = ui.edMatrixX->value();
    a.matrixY = ui.edMatrixY->value();
    a.matrixLedX = ui.edMatrixLedX->value();
    a.matrixLedY = ui.edMatrixLedY->value();
    a.stripeCountMax = ui.edStripeCount->maximum();
    return a;
}

SessionResult ConfigEditor::SendConfig()
{
    return SendConfig(m_session.ticket());
}

SessionResult ConfigEditor::SendConfig(const SessionTicket &ticket, const std::optional<LayoutArrangement> &checked)
{
    m_saveTimer.stop();
    const SessionResult r = m_session.writeChanged(checked.value_or(arrangement()), ticket);
    if (!r.ok()) {
        // The send button stays as it was, so the user can try again; only
        // the next change arms the auto-send again.
        m_frame.status->showMessage(QStringLiteral("ERROR"));
        ShowError(r.message);
        m_frame.status->clearMessage();
        return r;
    }
    m_frame.status->clearMessage();
    m_frame.send->setEnabled(false);
    return r;
}
