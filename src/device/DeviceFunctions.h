#pragma once
#include "device/ParamIo.h"

// The controller's functions. Each returns the status of its decisive
// exchange; success is exactly 0x8000. The waits sleep on the calling thread.
uint16_t RestartDevice(TComHid &hid, TAnswerBuf &Buf, uint16_t writeWord);
uint16_t ActivateTestPattern(TComHid &hid, TAnswerBuf &Buf);
uint16_t ResetToDefaults(TComHid &hid, TAnswerBuf &Buf, uint16_t writeWord);

// After a reset the controller needs this long before it is read again.
constexpr int kResetSettleMs = 250;
