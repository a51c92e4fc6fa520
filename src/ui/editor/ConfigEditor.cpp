#include "ui/editor/ConfigEditor.h"
#include "ui_ConfigEditor.h"

#include "core/i18n/TranslateText.h"
#include "core/params/LayoutValidation.h"
#include "ui/dialogs/uMessageBox.h"
#include "ui/editor/ConfigEditorForm.h"

#include <QCheckBox>
#include <QFont>
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
    , m_ui(form.form())
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
    connect(&m_session, &ControllerSession::loadFinished, this, &ConfigEditor::showLoad);
    m_binding.onEdited(this, [this](FieldId field) { fieldEdited(field); });
}

SessionResult ConfigEditor::DoInit()
{
    if (m_session.loaded())
        return {};
    // Shown through loadFinished, like every load the session makes.
    return m_session.readAll();
}

void ConfigEditor::showLoad(const SessionResult &load)
{
    // A countdown was for values this load replaces.
    m_saveTimer.stop();
    m_bound = false;
    if (!load.ok()) {
        showFailedLoad();
        emit loadShown(load);
        showError(load.message, QStringLiteral("Config error"));
        return;
    }
    setUsable(true);
    showValues();
    m_frame.send->setEnabled(false);
    emit loadShown(load);
}

// Sets every control from the session's values, in read order, so a
// protocol's limits are in place before the counts they limit are shown.
void ConfigEditor::showValues()
{
    m_bound = false;
    const FieldValues values = m_session.fieldValues();
    m_frame.capacity->setText(QStringLiteral("%1 LEDs").arg(m_session.capacity()));
    for (const ParamRecord &record : paramRecords()) {
        for (const ParamField &field : record.fields)
            m_binding.show(field.id, at(values, field.id));
        afterEffects(record.tag);
    }
    m_readouts.DrawMatrixPreview();
    // A controller may hold an arrangement it cannot take: flagged as an edit's would be.
    showArrangement(
        validateLayout(LayoutArrangement::fromParams(m_session.params()), m_session.capacity()).value_or(QString()));
    m_bound = true;
}

// The capacity beside the counts that fill it, and on the page of the layout
// in use the send's message for an arrangement over it, as soon as it is
// typed rather than only when it is sent.
void ConfigEditor::showArrangement(const QString &problem)
{
    const bool matrix = at(m_session.fieldValues(), FieldId::LayoutType) == 1;
    for (const auto &[label, inUse] : {std::pair{m_ui.labStripeCapacity, !matrix}, {m_ui.labMatrixCapacity, matrix}}) {
        const bool over = inUse && !problem.isEmpty();
        label->setText(over ? problem : m_frame.capacity->text());
        QFont flag; // only the weight is set: the rest follows the window's font
        if (over)
            flag.setBold(true);
        label->setFont(flag);
    }
}

// What depends on a parameter besides its own controls.
void ConfigEditor::afterEffects(ParamTag tag)
{
    switch (tag) {
    case ParamTag::LPRO: m_readouts.SetProtocolLimits(); break; // LedProtoChange
    case ParamTag::CFG1: m_readouts.ShowWS2812Timing(); break;  // WS2812Change
    case ParamTag::CFG2: m_readouts.ShowAPA106Timing(); break;  // APA106Change
    case ParamTag::CFG3: m_readouts.ShowWS2821Timing(); break;  // WS2821Change
    case ParamTag::MCHN:                                        // MatrixCountChange
    case ParamTag::MXOR:                                        // LedOrderChange
    case ParamTag::MBEG: m_readouts.DrawMatrixPreview(); break; // FirstLedChange
    default: break;
    }
}

// After a failed load the editor holds no values of this controller: it
// shows none and takes no edits, so nothing stale can be sent or saved.
void ConfigEditor::showFailedLoad()
{
    setUsable(false);
    m_frame.capacity->setText(kNoValue);
    showArrangement({});
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

// One path for every edit: the field goes to the session, which judges it
// by the same rule as the command line's; the editor then shows what the
// session holds. The groups' handlers (KeyTimingChange, StartupChange,
// ComProtoChange, LayoutChange, BrightChange, LedColChange, MirrorClick,
// StripeChange, MatrixLedChange, the clock changes and the ones named in
// afterEffects) all come down to this.
void ConfigEditor::fieldEdited(FieldId field)
{
    if (!m_bound)
        return;
    const FieldsResult r = m_session.setFields({{field, at(m_binding.read(), field)}});
    m_bound = false;
    const FieldValues values = m_session.fieldValues();
    // A refused value returns to the last one accepted (a module count the
    // channels cannot take is undone); a count the protocol lowered shows
    // lowered. The edited control keeps what was typed when the controller
    // only rounds it to its steps.
    if (!r.ok())
        m_binding.show(field, at(values, field));
    for (const FieldAdjustment &a : r.adjusted) {
        if (a.field != field)
            m_binding.show(a.field, at(values, a.field));
    }
    if (r.ok()) {
        afterEffects(paramField(field).tag);
        showArrangement(r.arrangementProblem);
    }
    m_bound = true;
    CheckChanged();
    announceAdjustments(r.adjusted);
}

// What the session changed beyond the edit is said, in the status text.
void ConfigEditor::announceAdjustments(const QList<FieldAdjustment> &adjusted)
{
    if (adjusted.isEmpty())
        return;
    const AdjustmentWording wording{
        [this](FieldId id) {
            const QWidget *control = m_binding.control(id);
            return control ? control->accessibleName() : QString::fromLatin1(paramField(id).name);
        },
        [](int protocol) {
            const auto items = paramField(FieldId::LedProtocol).items;
            return protocol >= 0 && protocol < int(items.size())
                ? TranslateText(QString::fromLatin1(items[std::size_t(protocol)].text))
                : QString::number(protocol);
        },
        [](const QString &pattern) { return TranslateText(pattern); }};
    QStringList texts;
    if (!m_frame.status->currentMessage().isEmpty())
        texts << m_frame.status->currentMessage();
    for (const FieldAdjustment &a : adjusted)
        texts << describeAdjustment(a, wording);
    m_frame.status->showMessage(texts.join(QStringLiteral(" \u2014 ")));
}

bool ConfigEditor::CheckChanged()
{
    const bool changed = m_session.changed();
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

SessionResult ConfigEditor::SendConfig()
{
    return SendConfig(m_session.ticket());
}

SessionResult ConfigEditor::SendConfig(const SessionTicket &ticket)
{
    m_saveTimer.stop();
    const SessionResult r = m_session.writeChanged(ticket);
    if (!r.ok()) {
        // The send button and the status text stay as they were ("Parameter
        // changed": the change is still pending), so the user can try again;
        // only the next change arms the auto-send again.
        const QString pending = m_frame.status->currentMessage();
        m_frame.status->showMessage(QStringLiteral("ERROR"));
        showError(r.message);
        m_frame.status->showMessage(pending);
        return r;
    }
    // Another program's change to a parameter sent here was kept beside
    // this one's: show what the controller holds now.
    showValues();
    m_frame.status->clearMessage();
    m_frame.send->setEnabled(false);
    return r;
}

bool ConfigEditor::controllerLeft()
{
    m_saveTimer.stop();
    m_frame.send->setEnabled(false);
    return m_session.changed();
}
