#pragma once
#include "device/ParamIo.h"

// The controller's functions. Each returns the status of its decisive
// exchange; success is exactly 0x8000. The waits sleep on the calling thread.
uint16_t restartDevice(TComHid &hid, AnswerBuf &buf, uint16_t writeWord);
uint16_t activateTestPattern(TComHid &hid, AnswerBuf &buf);
uint16_t resetToDefaults(TComHid &hid, AnswerBuf &buf, uint16_t writeWord);

// After a reset the controller needs this long before it is read again.
constexpr int kResetSettleMs = 250;
