#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <span>

// The controller's 21 parameters in the order they are read, written and
// saved in profiles. The enum value is the index into that order.
enum class ParamTag : int {
    LMAX, KTIM, STUP, CPRO, LPRO, LAYO, BRIG, COL0, COL1, MIRR, SCFG,
    MCHN, MCNT, MXOR, MBEG, CFG1, CFG2, CFG3, CFG4, CFG5, CFG6,
};
inline constexpr int kParamTagCount = 21;

// Tag word as it travels to the device: character 1 in bits 0-7 ...
// character 4 in bits 24-31; missing characters count as 0.
constexpr uint32_t makeTagWord(const char *code)
{
    uint32_t word = 0;
    for (int i = 0; i < 4 && code[i] != '\0'; ++i)
        word |= uint32_t(uint8_t(code[i])) << (8 * i);
    return word;
}

struct ParamTagInfo {
    const char *code;
    uint32_t word;
    // Object names of the editor controls that show this parameter
    // (unused slots are nullptr).
    std::array<const char *, 4> controls;
};

std::span<const ParamTagInfo> paramTags();
const ParamTagInfo &paramTag(ParamTag tag);

// Index of a tag in the read order, or -1. The match is exact and
// case-sensitive: "lmax" and "LMAXX" are unknown.
int tagIndex(const QByteArray &code);
int tagIndex(const QString &code);
int tagIndex(const char *code);

// Tag word of the first four characters of `code` (single-byte characters;
// a QString is taken as Latin-1).
uint32_t tagWord(const QByteArray &code);
uint32_t tagWord(const QString &code);
uint32_t tagWord(const char *code);

QStringList tagControls(int index);

// Items of the editor's drop-down lists, in item-index order. The texts are
// the untranslated keys of the language project.
enum class ComboList {
    LedProtocol, // cbLedProto
    ComProtocol, // cbComProto
    Layout,      // cbLayout
    ColorOrder,  // cbLedCol0 .. cbLedCol7
    FirstLed,    // cbFirstLed
    LedOrder,    // cbLedOrder
    BitClock,    // cbWS2801clk, cbAPA102clk, cbLPD8803clk (ninth item empty)
};
QStringList comboItems(ComboList list);

// The list a combo box of the editor carries, looked up by object name;
// false for a name that is not an editor combo box.
bool comboListOf(const QString &controlName, ComboList *list);

// Range and display of the editor's spin edits. Where a device field is
// narrower than the control would allow, the range is cut to the field so
// that every value the editor offers survives a save and a reload.
struct ControlRange {
    const char *name;
    int min;
    int max;
    int step;
    const char *prefix;
    const char *suffix;
};

std::span<const ControlRange> controlRanges();
// nullptr for a name that is not a spin edit of the editor.
const ControlRange *controlRange(const QString &name);
int clampToRange(const ControlRange &range, int value);
