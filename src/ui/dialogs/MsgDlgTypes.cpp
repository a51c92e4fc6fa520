#include "ui/dialogs/MsgDlgTypes.h"

#include <array>

namespace {

constexpr std::array<MsgButtonDef, 9> ButtonOrder{{
    {mbClose, "Close", mrClose},
    {mbYes, "Yes", mrYes},
    {mbNo, "No", mrNo},
    {mbOK, "Ok", mrOk},
    {mbIgnore, "Ignore", mrIgnore},
    {mbAbort, "Abort", mrAbort},
    {mbSend, "Send", mrSend},
    {mbDiscard, "Discard", mrDiscard},
    {mbCancel, "Cancel", mrCancel},
}};

struct KindDef
{
    const char *title;
    int icon;
};

constexpr std::array<KindDef, 5> Kinds{{
    {"Warning", 0},
    {"Error", 1},
    {"Information", 2},
    {"Confirmation", 3},
    {"Message", -1},
}};

// A value cast in from outside the enumeration is shown as a plain message.
const KindDef &kind(TMsgDlgType type)
{
    const auto i = static_cast<unsigned>(type);
    return i < Kinds.size() ? Kinds[i] : Kinds[mtCustom];
}

} // namespace

std::span<const MsgButtonDef> msgButtonOrder()
{
    return ButtonOrder;
}

const char *msgKindTitle(TMsgDlgType type)
{
    return kind(type).title;
}

int msgKindIcon(TMsgDlgType type)
{
    return kind(type).icon;
}
