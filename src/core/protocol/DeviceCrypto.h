#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// Checksum behind the access codes: CRC-32/MPEG-2 over 32-bit little-endian
// words (each word's bytes taken most significant first), not inverted.
// Only whole words are read; a trailing partial word is ignored so the read
// never passes `len`.
uint32_t CalcCrc(const uint8_t *data, uint16_t len);

// The eight 16-bit access words derived from the 12 bytes of CPU information:
// words 2k and 2k+1 are the high and low halves of access code k.
using CryptWords = std::array<uint16_t, 8>;
CryptWords deriveCrypt(const uint8_t *cpuInfo12);

// The words the parameter commands carry: reads use word 4, every 0xED word 5.
constexpr int kCryptReadWord = 4;
constexpr int kCryptWriteWord = 5;
