#pragma once
#include <QByteArray>

#include <array>
#include <cstdint>

class TComHid;

using AnswerBuf = std::array<uint8_t, 64>;

// Reads one parameter (command 0xEC with the read access word) into `value`.
// Returns the exchange status; an answer of fewer than 4 data bytes is
// reported as 0xB000 rather than mixed with bytes of an earlier answer.
// Success is any status below 0x1000.
uint16_t readParameter(TComHid &hid, AnswerBuf &buf, const QByteArray &code, uint16_t readWord, uint32_t &value);

// Writes one parameter (command 0xED, function byte 1). Success is exactly 0x8000.
uint16_t writeParameter(TComHid &hid, AnswerBuf &buf, const QByteArray &code, uint32_t value, uint16_t writeWord);
