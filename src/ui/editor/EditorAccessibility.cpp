#include "ui/editor/EditorAccessibility.h"
#include "ui_ConfigEditor.h"

#include <vector>

namespace {

// One control: its group, its caption, and a second caption or a channel
// letter that tells it from its neighbours under the same caption.
struct Naming {
    QWidget *control;
    const QGroupBox *group;
    const QLabel *caption;
    const QLabel *detail = nullptr;
    const char *letter = nullptr;
};

// Captions end in a colon and group titles begin with a blank; a name wants neither.
QString cleaned(QString text)
{
    text = text.trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

std::vector<Naming> namings(Ui::ConfigEditorForm &u)
{
    return {
        {u.cbLedProto, u.grpProtocol, u.labTxtLedProto},
        {u.cbComProto, u.grpProtocol, u.labTxtComProto},
        {u.cbLayout, u.grpLayout, u.labTxtLayout},
        {u.edBright, u.grpLayout, u.labTxtBright},
        {u.cbLedCol0, u.grpColorOrder, u.labTxtLedCol0},
        {u.cbLedCol1, u.grpColorOrder, u.labTxtLedCol1},
        {u.cbLedCol2, u.grpColorOrder, u.labTxtLedCol2},
        {u.cbLedCol3, u.grpColorOrder, u.labTxtLedCol3},
        {u.cbLedCol4, u.grpColorOrder, u.labTxtLedCol4},
        {u.cbLedCol5, u.grpColorOrder, u.labTxtLedCol5},
        {u.cbLedCol6, u.grpColorOrder, u.labTxtLedCol6},
        {u.cbLedCol7, u.grpColorOrder, u.labTxtLedCol7},
        {u.edStartupR, u.grpStartup, u.labTxtStartupColor, nullptr, "R"},
        {u.edStartupG, u.grpStartup, u.labTxtStartupColor, nullptr, "G"},
        {u.edStartupB, u.grpStartup, u.labTxtStartupColor, nullptr, "B"},
        {u.edStartupTime, u.grpStartup, u.labTxtStartupTime},
        {u.edKeyMSC, u.grpKeyTiming, u.labTxtKeyMSC},
        {u.edKeyBoot, u.grpKeyTiming, u.labTxtKeyBoot},
        {u.edStripeCount, u.grpStripeConfig, u.labTxtStripeCount},
        {u.edStripeChannels, u.grpStripeConfig, u.labTxtStripeChannels},
        {u.chkStripeMirror, u.grpStripeConfig, nullptr},
        {u.edMatrixX, u.grpMatrixConfig, u.labTxtMatrixCount, u.labTxtMatrixX},
        {u.edMatrixY, u.grpMatrixConfig, u.labTxtMatrixCount, u.labTxtMatrixY},
        {u.edMatrixLedX, u.grpMatrixConfig, u.labTxtMatrixLeds, u.labTxtMatrixLedX},
        {u.edMatrixLedY, u.grpMatrixConfig, u.labTxtMatrixLeds, u.labTxtMatrixLedY},
        {u.chkMirrorX, u.grpMatrixConfig, nullptr},
        {u.chkMirrorY, u.grpMatrixConfig, nullptr},
        {u.cbFirstLed, u.grpMatrixConfig, u.labTxtFirstLed},
        {u.cbLedOrder, u.grpMatrixConfig, u.labTxtLedOrder},
        {u.edWS2812per, u.grpWS2812, u.labTxtWS2812per},
        {u.edWS2812t0h, u.grpWS2812, u.labTxtWS2812t0h},
        {u.edWS2812t1h, u.grpWS2812, u.labTxtWS2812t1h},
        {u.edAPA106per, u.grpAPA106, u.labTxtAPA106per},
        {u.edAPA106t0h, u.grpAPA106, u.labTxtAPA106t0h},
        {u.edAPA106t1h, u.grpAPA106, u.labTxtAPA106t1h},
        {u.edWS2821bw, u.grpWS2821, u.labTxtWS2821bw},
        {u.cbWS2801clk, u.grpWS2801, u.labTxtWS2801clk},
        {u.cbAPA102clk, u.grpAPA102, u.labTxtAPA102clk},
        {u.cbLPD8803clk, u.grpLPD8803, u.labTxtLPD8803clk},
    };
}

QString nameOf(const Naming &n)
{
    // A check box says what it is itself; the others by their caption.
    QString own;
    if (n.caption)
        own = cleaned(n.caption->text());
    else if (const auto *box = qobject_cast<const QAbstractButton *>(n.control))
        own = cleaned(box->text());
    if (n.detail)
        own += QLatin1Char(' ') + cleaned(n.detail->text());
    if (n.letter)
        own += QLatin1Char(' ') + QLatin1String(n.letter);
    return cleaned(n.group->title()) + QStringLiteral(", ") + own;
}

} // namespace

void applyAccessibleNames(Ui::ConfigEditorForm &ui)
{
    for (const Naming &n : namings(ui))
        n.control->setAccessibleName(nameOf(n));
}
