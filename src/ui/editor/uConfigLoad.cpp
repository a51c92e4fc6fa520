// Loading the parameters from the device into the editor.
#include "ui/editor/uConfig.h"

#include "core/params/ParamCodec.h"
#include "core/params/ParamTable.h"
#include "ui/dialogs/uMessageBox.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int idx(ParamTag t)
{
    return static_cast<int>(t);
}
} // namespace

void TCfg::DoInit()
{
    bool &loaded = m_host.CfgLoaded();
    if (loaded)
        return;

    // Loading must never count as an edit: every control stays unbound until
    // its own value is in place. The known device values go together with
    // the working values, so after a failed load nothing counts as changed
    // and nothing from an earlier load (maybe of another controller) can be
    // written to this one.
    UnbindAll();
    CfgData.clear();
    CfgOrig.clear();

    EditorValues values;
    for (int i = 0; i < kParamTagCount; ++i) {
        if (!LoadTag(i, values))
            return;
    }
    DrawMatrixPreview();

    CfgOrig = CfgData;
    loaded = true;
    if (QPushButton *send = SendButton())
        send->setEnabled(false);
}

// Reads one parameter and shows it; false (after reporting) when the read failed.
bool TCfg::LoadTag(int tagIndex, EditorValues &values)
{
    TCfgData entry;
    const QString error = ReadConfig(paramTags()[std::size_t(tagIndex)].code, entry);
    if (!error.isEmpty()) {
        MsgBox()->Execute(error, mtError, QStringLiteral("Config error"), mbClose, true);
        return false;
    }
    unpackParam(tagIndex, entry.Value, values);

    switch (static_cast<ParamTag>(tagIndex)) {
    case ParamTag::LMAX:
        LedMaxCnt = values.ledMaxCnt;
        if (QLabel *capacity = Label("labCapacity"))
            capacity->setText(QString::asprintf("%d LEDs", LedMaxCnt));
        return true;
    case ParamTag::COL0:
        for (int k = 0; k < 4; ++k)
            LedColors[k] = uint8_t(values.ledColors[std::size_t(k)]);
        return true;
    case ParamTag::COL1:
        for (int k = 4; k < 8; ++k)
            LedColors[k] = uint8_t(values.ledColors[std::size_t(k)]);
        for (int k = 0; k < 8; ++k) {
            auto *combo = qobject_cast<QComboBox *>(Control(QStringLiteral("cbLedCol%1").arg(k)));
            Unbind(combo);
            if (combo)
                combo->setCurrentIndex(LedColors[k]);
            Bind(combo, &TCfg::LedColChange);
        }
        return true;
    default:
        break;
    }

    ShowTag(tagIndex, values);
    if (tagIndex == idx(ParamTag::LPRO))
        SetProtocolLimits();
    else if (tagIndex == idx(ParamTag::CFG1))
        ShowWS2812Timing();
    else if (tagIndex == idx(ParamTag::CFG2))
        ShowAPA106Timing();
    else if (tagIndex == idx(ParamTag::CFG3))
        ShowWS2821Timing();
    BindTag(tagIndex);
    return true;
}
