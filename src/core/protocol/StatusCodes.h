#pragma once
#include <QString>
#include <cstdint>

// Results of one command exchange with the controller. Values below 0x1000
// are data byte counts; 0x8000 is the device's plain "OK"; 0x80C0..0x80C8 are
// the device's refusals; the 0xA000..0xF000 codes are host-side failures.
namespace Status {
constexpr uint16_t HostOk = 0x0000;
constexpr uint16_t Ok = 0x8000;
constexpr uint16_t UnknownCommand = 0x80C0;
constexpr uint16_t UnknownFunction = 0x80C1;
constexpr uint16_t WrongByteCount = 0x80C2;
constexpr uint16_t WrongCryptCode = 0x80C3;
constexpr uint16_t IllegalValue = 0x80C4;
constexpr uint16_t NotInBootmode = 0x80C5;
constexpr uint16_t ExecutionFailed = 0x80C7;
constexpr uint16_t ExecutionTimeout = 0x80C8;
constexpr uint16_t WrongCommandByte = 0xA000;
constexpr uint16_t BadFrame = 0xB000;
constexpr uint16_t HostIllegalValue = 0xC000;
constexpr uint16_t EmptyFrame = 0xD000;
constexpr uint16_t CommunicationError = 0xE000;
constexpr uint16_t Timeout = 0xF000;

// Callers that expect data count every result from here up as a failure.
constexpr uint16_t FirstFailure = 0x1000;
} // namespace Status

// The text of a status code from the fixed table, empty for unknown codes.
QString statusText(uint16_t err);

// "0x%0.2x (%s)": upper-case hex with at least two digits, then the text.
QString ErrToStr(uint16_t err);
