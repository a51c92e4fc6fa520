#include "device/ParamIo.h"

#include "core/protocol/ParamTags.h"
#include "device/uComHid.h"

namespace {
constexpr uint8_t kCmdRead = 0xEC;
constexpr uint8_t kCmdWrite = 0xED;
constexpr uint8_t kFunctionWrite = 1;
constexpr int kTimeout = 100;
} // namespace

uint16_t readParameter(TComHid &hid, AnswerBuf &buf, const QByteArray &code, uint16_t readWord, uint32_t &value)
{
    hid.NewOut(kCmdRead);
    hid.AddOut(TLONG, tagWord(code));
    hid.AddOut(TWORD, readWord);
    uint16_t r = hid.HidAction(buf, kTimeout);
    if (r < Status::FirstFailure && r < 4)
        r = Status::BadFrame;
    if (r < Status::FirstFailure)
        value = uint32_t(buf[0]) | uint32_t(buf[1]) << 8 | uint32_t(buf[2]) << 16 | uint32_t(buf[3]) << 24;
    return r;
}

uint16_t writeParameter(TComHid &hid, AnswerBuf &buf, const QByteArray &code, uint32_t value, uint16_t writeWord)
{
    hid.NewOut(kCmdWrite);
    hid.AddOut(TLONG, tagWord(code));
    hid.AddOut(TLONG, value);
    hid.AddOut(TWORD, writeWord);
    hid.AddOut(TBYTE, kFunctionWrite);
    return hid.HidAction(buf, kTimeout);
}
