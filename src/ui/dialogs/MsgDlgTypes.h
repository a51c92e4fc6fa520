#pragma once
#include <initializer_list>
#include <span>

// Kinds, buttons and result codes of the program's message box.

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbClose, mbIgnore, mbAbort, mbSend, mbDiscard, mbCancel };

// Result codes equal the platform's standard dialog results, so callers can
// compare against the numbers they know (6 = yes).
enum MsgResult : int {
    mrOk = 1,
    mrCancel = 2,
    mrClose = 2,
    mrAbort = 3,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    // The program's own answers, beyond the platform's: unsent changes
    // before another controller is opened.
    mrSend = 20,
    mrDiscard = 21,
};

// A set of buttons as a bit mask in which member n is bit n
// (mbYes 1, mbNo 2, mbOK 4, mbClose 8, mbIgnore 16, mbAbort 32, mbSend 64,
// mbDiscard 128, mbCancel 256).
class TMsgBut
{
public:
    constexpr TMsgBut() = default;
    constexpr TMsgBut(TMsgDlgBtn b) : m_bits(bitOf(b)) {}
    constexpr TMsgBut(std::initializer_list<TMsgDlgBtn> list)
    {
        for (TMsgDlgBtn b : list)
            m_bits |= bitOf(b);
    }
    static constexpr TMsgBut fromBits(unsigned bits)
    {
        TMsgBut s;
        s.m_bits = bits & 0x1FFu;
        return s;
    }

    constexpr unsigned bits() const { return m_bits; }
    constexpr bool contains(TMsgDlgBtn b) const { return (m_bits & bitOf(b)) != 0; }
    constexpr bool isEmpty() const { return m_bits == 0; }
    constexpr TMsgBut operator|(TMsgBut other) const { return fromBits(m_bits | other.m_bits); }
    friend constexpr bool operator==(TMsgBut a, TMsgBut b) { return a.m_bits == b.m_bits; }

private:
    static constexpr unsigned bitOf(TMsgDlgBtn b) { return 1u << unsigned(b); }
    unsigned m_bits = 0;
};

constexpr TMsgBut operator|(TMsgDlgBtn a, TMsgDlgBtn b)
{
    return TMsgBut(a) | TMsgBut(b);
}

static_assert(TMsgBut(mbYes).bits() == 1 && TMsgBut(mbCancel).bits() == 256);

// One row of the fixed button order: untranslated caption and result code.
struct MsgButtonDef
{
    TMsgDlgBtn btn;
    const char *caption;
    int result;
};

// The order in which buttons appear: Close, Yes, No, Ok, Ignore, Abort,
// Send, Discard, Cancel.
std::span<const MsgButtonDef> msgButtonOrder();

// Untranslated default title of a kind, and its picture index (-1: none).
const char *msgKindTitle(TMsgDlgType type);
int msgKindIcon(TMsgDlgType type);
