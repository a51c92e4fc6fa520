#include "device/DeviceFunctions.h"

#include "device/uComHid.h"

#include <chrono>
#include <thread>

namespace {
constexpr uint8_t kFunctionRestart = 0x01;
constexpr uint8_t kFunctionDefaults = 0x46;
constexpr int kPrepareSettleMs = 50;

// Tag 0 and value 0 with a function byte select a device function.
uint16_t runFunction(TComHid &hid, AnswerBuf &buf, uint16_t writeWord, uint8_t function)
{
    // The preparing command's answer is not looked at.
    hid.NewOut(0xEF);
    hid.AddOut(TWORD, 0);
    hid.AddOut(TBYTE, 1);
    hid.HidAction(buf, 100);
    std::this_thread::sleep_for(std::chrono::milliseconds(kPrepareSettleMs));

    hid.NewOut(0xED);
    hid.AddOut(TLONG, 0);
    hid.AddOut(TLONG, 0);
    hid.AddOut(TWORD, writeWord);
    hid.AddOut(TBYTE, function);
    return hid.HidAction(buf, 100);
}
} // namespace

uint16_t restartDevice(TComHid &hid, AnswerBuf &buf, uint16_t writeWord)
{
    return runFunction(hid, buf, writeWord, kFunctionRestart);
}

uint16_t resetToDefaults(TComHid &hid, AnswerBuf &buf, uint16_t writeWord)
{
    return runFunction(hid, buf, writeWord, kFunctionDefaults);
}

uint16_t activateTestPattern(TComHid &hid, AnswerBuf &buf)
{
    hid.NewOut(0xEE);
    hid.AddOut(TLONG, 32);
    return hid.HidAction(buf, 100);
}
