#pragma once
#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// The controller's 21 parameters in the order they are read, written and
// saved in profiles. The enum value is the index into that order.
enum class ParamTag : int {
    LMAX, KTIM, STUP, CPRO, LPRO, LAYO, BRIG, COL0, COL1, MIRR, SCFG,
    MCHN, MCNT, MXOR, MBEG, CFG1, CFG2, CFG3, CFG4, CFG5, CFG6,
};
inline constexpr int kParamTagCount = 21;

constexpr int tagIndexOf(ParamTag tag)
{
    return static_cast<int>(tag);
}

// Tag word as it travels to the device: character 1 in bits 0-7 ...
// character 4 in bits 24-31; missing characters count as 0.
constexpr uint32_t makeTagWord(const char *code)
{
    uint32_t word = 0;
    for (int i = 0; i < 4 && code[i] != '\0'; ++i)
        word |= uint32_t(uint8_t(code[i])) << (8 * i);
    return word;
}

inline constexpr std::array<const char *, kParamTagCount> kParamTagCodes{
    "LMAX", "KTIM", "STUP", "CPRO", "LPRO", "LAYO", "BRIG", "COL0", "COL1", "MIRR", "SCFG",
    "MCHN", "MCNT", "MXOR", "MBEG", "1CFG", "2CFG", "3CFG", "4CFG", "5CFG", "6CFG",
};
static_assert(makeTagWord("LMAX") == 0x58414D4C, "LMAX travels as 4C 4D 41 58");

// The tag's four characters, e.g. "1CFG" for ParamTag::CFG1.
constexpr const char *tagCode(ParamTag tag)
{
    return kParamTagCodes[std::size_t(tagIndexOf(tag))];
}
constexpr const char *tagCode(int index)
{
    return index >= 0 && index < kParamTagCount ? kParamTagCodes[std::size_t(index)] : "";
}

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
