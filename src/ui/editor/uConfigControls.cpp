// Finding the editor's controls, reading them and binding their change
// events to the handlers.
#include "ui/editor/uConfig.h"

#include "core/params/ParamCodec.h"
#include "core/params/ParamTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QWidget>

namespace {

enum class Kind { Spin, Combo, Check };

// Which EditorValues field each control shows.
struct ControlField {
    const char *name;
    Kind kind;
    int &(*field)(EditorValues &);
    bool &(*flag)(EditorValues &);
};

#define INT_FIELD(member) +[](EditorValues &v) -> int & { return v.member; }, nullptr
#define FLAG_FIELD(member) nullptr, +[](EditorValues &v) -> bool & { return v.member; }

const ControlField kFields[] = {
    {"edKeyBoot", Kind::Spin, INT_FIELD(keyBootMs)},
    {"edKeyMSC", Kind::Spin, INT_FIELD(keyMscMs)},
    {"edStartupR", Kind::Spin, INT_FIELD(startupR)},
    {"edStartupG", Kind::Spin, INT_FIELD(startupG)},
    {"edStartupB", Kind::Spin, INT_FIELD(startupB)},
    {"edStartupTime", Kind::Spin, INT_FIELD(startupTimeMs)},
    {"cbComProto", Kind::Combo, INT_FIELD(comProto)},
    {"cbLedProto", Kind::Combo, INT_FIELD(ledProto)},
    {"cbLayout", Kind::Combo, INT_FIELD(layout)},
    {"edBright", Kind::Spin, INT_FIELD(bright)},
    {"cbLedCol0", Kind::Combo, INT_FIELD(ledColors[0])},
    {"cbLedCol1", Kind::Combo, INT_FIELD(ledColors[1])},
    {"cbLedCol2", Kind::Combo, INT_FIELD(ledColors[2])},
    {"cbLedCol3", Kind::Combo, INT_FIELD(ledColors[3])},
    {"cbLedCol4", Kind::Combo, INT_FIELD(ledColors[4])},
    {"cbLedCol5", Kind::Combo, INT_FIELD(ledColors[5])},
    {"cbLedCol6", Kind::Combo, INT_FIELD(ledColors[6])},
    {"cbLedCol7", Kind::Combo, INT_FIELD(ledColors[7])},
    {"chkStripeMirror", Kind::Check, FLAG_FIELD(stripeMirror)},
    {"chkMirrorX", Kind::Check, FLAG_FIELD(mirrorX)},
    {"chkMirrorY", Kind::Check, FLAG_FIELD(mirrorY)},
    {"edStripeCount", Kind::Spin, INT_FIELD(stripeCount)},
    {"edStripeChannels", Kind::Spin, INT_FIELD(stripeChannels)},
    {"edMatrixX", Kind::Spin, INT_FIELD(matrixX)},
    {"edMatrixY", Kind::Spin, INT_FIELD(matrixY)},
    {"edMatrixLedX", Kind::Spin, INT_FIELD(matrixLedX)},
    {"edMatrixLedY", Kind::Spin, INT_FIELD(matrixLedY)},
    {"cbLedOrder", Kind::Combo, INT_FIELD(ledOrder)},
    {"cbFirstLed", Kind::Combo, INT_FIELD(firstLed)},
    {"edWS2812per", Kind::Spin, INT_FIELD(ws2812.per)},
    {"edWS2812t0h", Kind::Spin, INT_FIELD(ws2812.t0h)},
    {"edWS2812t1h", Kind::Spin, INT_FIELD(ws2812.t1h)},
    {"edAPA106per", Kind::Spin, INT_FIELD(apa106.per)},
    {"edAPA106t0h", Kind::Spin, INT_FIELD(apa106.t0h)},
    {"edAPA106t1h", Kind::Spin, INT_FIELD(apa106.t1h)},
    {"edWS2821bw", Kind::Spin, INT_FIELD(ws2821bw)},
    {"cbWS2801clk", Kind::Combo, INT_FIELD(ws2801clk)},
    {"cbAPA102clk", Kind::Combo, INT_FIELD(apa102clk)},
    {"cbLPD8803clk", Kind::Combo, INT_FIELD(lpd8803clk)},
};

#undef INT_FIELD
#undef FLAG_FIELD

const ControlField *fieldOf(const QString &name)
{
    for (const ControlField &f : kFields) {
        if (name == QLatin1String(f.name))
            return &f;
    }
    return nullptr;
}

} // namespace

QObject *TCfg::Control(const QString &name) const
{
    return m_main ? m_main->findChild<QObject *>(name) : nullptr;
}

QSpinBox *TCfg::Spin(const char *name) const
{
    return qobject_cast<QSpinBox *>(Control(QLatin1String(name)));
}

QComboBox *TCfg::Combo(const char *name) const
{
    return qobject_cast<QComboBox *>(Control(QLatin1String(name)));
}

QCheckBox *TCfg::Check(const char *name) const
{
    return qobject_cast<QCheckBox *>(Control(QLatin1String(name)));
}

QLabel *TCfg::Label(const char *name) const
{
    return qobject_cast<QLabel *>(Control(QLatin1String(name)));
}

QPushButton *TCfg::SendButton() const
{
    return qobject_cast<QPushButton *>(Control(QStringLiteral("ButSaveConfig")));
}

void TCfg::ShowStatus(const QString &text) const
{
    if (auto *bar = qobject_cast<QStatusBar *>(Control(QStringLiteral("sBar"))))
        bar->showMessage(text);
}

EditorValues TCfg::ReadEditor() const
{
    EditorValues v;
    v.ledMaxCnt = LedMaxCnt;
    for (const ControlField &f : kFields) {
        QObject *c = Control(QLatin1String(f.name));
        switch (f.kind) {
        case Kind::Spin:
            // The key times are floating values in the editor's design; a
            // spin box's int is already the nearest integer.
            if (auto *spin = qobject_cast<QSpinBox *>(c))
                f.field(v) = nearestInt(spin->value());
            break;
        case Kind::Combo:
            if (auto *combo = qobject_cast<QComboBox *>(c))
                f.field(v) = combo->currentIndex();
            break;
        case Kind::Check:
            if (auto *check = qobject_cast<QCheckBox *>(c))
                f.flag(v) = check->isChecked();
            break;
        }
    }
    return v;
}

void TCfg::ShowTag(int tagIndex, const EditorValues &values)
{
    EditorValues v = values; // the field accessors hand out references
    for (const QString &name : tagControls(tagIndex)) {
        const ControlField *f = fieldOf(name);
        QObject *c = Control(name);
        if (!f || !c)
            continue;
        Unbind(c);
        switch (f->kind) {
        case Kind::Spin:
            if (auto *spin = qobject_cast<QSpinBox *>(c))
                spin->setValue(f->field(v)); // out-of-range values show clamped
            break;
        case Kind::Combo:
            if (auto *combo = qobject_cast<QComboBox *>(c))
                combo->setCurrentIndex(f->field(v)); // unknown indexes clear the selection
            break;
        case Kind::Check:
            if (auto *check = qobject_cast<QCheckBox *>(c))
                check->setChecked(f->flag(v));
            break;
        }
    }
}

void TCfg::Bind(QObject *control, Handler handler)
{
    Unbind(control);
    if (!control || !handler)
        return;
    const auto run = [this, handler] { (this->*handler)(); };
    QMetaObject::Connection conn;
    if (auto *spin = qobject_cast<QSpinBox *>(control))
        conn = connect(spin, &QSpinBox::valueChanged, this, run);
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        conn = connect(combo, &QComboBox::currentIndexChanged, this, run);
    else if (auto *check = qobject_cast<QCheckBox *>(control))
        conn = connect(check, &QCheckBox::clicked, this, run);
    if (conn)
        m_bindings.insert(control, conn);
}

void TCfg::Unbind(QObject *control)
{
    const auto it = m_bindings.find(control);
    if (it == m_bindings.end())
        return;
    disconnect(*it);
    m_bindings.erase(it);
}

void TCfg::BindTag(int tagIndex)
{
    for (const QString &name : tagControls(tagIndex))
        Bind(Control(name), HandlerOf(tagIndex));
}

void TCfg::UnbindAll()
{
    for (const QMetaObject::Connection &conn : std::as_const(m_bindings))
        disconnect(conn);
    m_bindings.clear();
}

void TCfg::StoreTag(int tagIndex)
{
    if (const auto value = packParam(tagIndex, ReadEditor()))
        SetConfig(paramTags()[std::size_t(tagIndex)].code, *value);
}
