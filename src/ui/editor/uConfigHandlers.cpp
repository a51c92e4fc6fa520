// The editor's change handlers: each packs its group's controls into the
// group's parameter and runs the change tracking.
#include "ui/editor/uConfig.h"

#include "core/params/ParamCodec.h"
#include "core/params/ParamTable.h"
#include "core/params/ProtocolLimits.h"

#include <QComboBox>
#include <QSpinBox>

namespace {
constexpr int idx(ParamTag t)
{
    return static_cast<int>(t);
}
} // namespace

TCfg::Handler TCfg::HandlerOf(int tagIndex)
{
    static const Handler kHandlers[kParamTagCount] = {
        nullptr, // LMAX is never edited
        &TCfg::KeyTimingChange,
        &TCfg::StartupChange,
        &TCfg::ComProtoChange,
        &TCfg::LedProtoChange,
        &TCfg::LayoutChange,
        &TCfg::BrightChange,
        &TCfg::LedColChange,
        &TCfg::LedColChange,
        &TCfg::MirrorClick,
        &TCfg::StripeChange,
        &TCfg::MatrixCountChange,
        &TCfg::MatrixLedChange,
        &TCfg::LedOrderChange,
        &TCfg::FirstLedChange,
        &TCfg::WS2812Change,
        &TCfg::APA106Change,
        &TCfg::WS2821Change,
        &TCfg::WS2801ClkChange,
        &TCfg::APA102ClkChange,
        &TCfg::LPD8803ClkChange,
    };
    return tagIndex >= 0 && tagIndex < kParamTagCount ? kHandlers[tagIndex] : nullptr;
}

void TCfg::KeyTimingChange()
{
    StoreTag(idx(ParamTag::KTIM));
    CheckChanged();
}

void TCfg::StartupChange()
{
    StoreTag(idx(ParamTag::STUP));
    CheckChanged();
}

void TCfg::ComProtoChange()
{
    StoreTag(idx(ParamTag::CPRO));
    CheckChanged();
}

void TCfg::LedProtoChange()
{
    StoreTag(idx(ParamTag::LPRO));
    CheckChanged();
    // A lowered maximum clamps the bound stripe and matrix counts, which
    // then arrive as ordinary edits.
    SetProtocolLimits();
}

void TCfg::LayoutChange()
{
    StoreTag(idx(ParamTag::LAYO));
    CheckChanged();
}

void TCfg::BrightChange()
{
    StoreTag(idx(ParamTag::BRIG));
    CheckChanged();
}

void TCfg::LedColChange()
{
    const EditorValues v = ReadEditor();
    for (int k = 0; k < 8; ++k)
        LedColors[k] = uint8_t(v.ledColors[std::size_t(k)]);
    // Both halves are packed; only the one that really differs counts as
    // changed and is written.
    for (ParamTag t : {ParamTag::COL0, ParamTag::COL1}) {
        if (const auto value = packParam(idx(t), v))
            SetConfig(paramTag(t).code, *value);
    }
    CheckChanged();
}

void TCfg::MirrorClick()
{
    StoreTag(idx(ParamTag::MIRR));
    CheckChanged();
}

void TCfg::StripeChange()
{
    StoreTag(idx(ParamTag::SCFG));
    CheckChanged();
}

void TCfg::MatrixCountChange()
{
    QSpinBox *mx = Spin("edMatrixX");
    QSpinBox *my = Spin("edMatrixY");
    QSpinBox *channels = Spin("edStripeChannels");
    if (!mx || !my || !channels)
        return;
    if (matrixModulesFit(mx->value(), my->value(), channels->maximum())) {
        StoreTag(idx(ParamTag::MCHN));
        CheckChanged();
        DrawMatrixPreview();
        return;
    }
    // Too many modules for the protocol's channels: quietly go back to the
    // last accepted counts. The restored values come back through here.
    mx->setValue(LastMatrixX);
    my->setValue(LastMatrixY);
}

void TCfg::MatrixLedChange()
{
    StoreTag(idx(ParamTag::MCNT));
    CheckChanged();
}

void TCfg::LedOrderChange()
{
    StoreTag(idx(ParamTag::MXOR));
    CheckChanged();
    DrawMatrixPreview();
}

void TCfg::FirstLedChange()
{
    StoreTag(idx(ParamTag::MBEG));
    CheckChanged();
    DrawMatrixPreview();
}

void TCfg::WS2812Change()
{
    StoreTag(idx(ParamTag::CFG1));
    ShowWS2812Timing();
    CheckChanged();
}

void TCfg::APA106Change()
{
    StoreTag(idx(ParamTag::CFG2));
    ShowAPA106Timing();
    CheckChanged();
}

void TCfg::WS2821Change()
{
    StoreTag(idx(ParamTag::CFG3));
    ShowWS2821Timing();
    CheckChanged();
}

void TCfg::WS2801ClkChange()
{
    StoreTag(idx(ParamTag::CFG4));
    CheckChanged();
}

void TCfg::APA102ClkChange()
{
    StoreTag(idx(ParamTag::CFG5));
    CheckChanged();
}

void TCfg::LPD8803ClkChange()
{
    StoreTag(idx(ParamTag::CFG6));
    CheckChanged();
}
