#include "core/protocol/ReportTrace.h"
#include "device/uComHid.h"

#include <gtest/gtest.h>

namespace {
std::unique_ptr<TComHid> idleTransport()
{
    return std::make_unique<TComHid>([]() -> std::unique_ptr<HidController> { return nullptr; });
}

QByteArray head(const TComHid &hid, int n)
{
    return QByteArray(reinterpret_cast<const char *>(hid.outReport().data()), n).toHex(' ').toUpper();
}
} // namespace

// Values go least significant byte first, cut to their width; the length
// byte follows. A new command starts afresh and leaves the bytes after it.
TEST(Framing, CommandsAndValuesInTheirWidth)
{
    auto hid = idleTransport();
    hid->NewOut(0xED);
    hid->AddOut(TLONG, 0x47495242); // "BRIG"
    hid->AddOut(TLONG, 100);
    hid->AddOut(TWORD, 0xBEEF);
    hid->AddOut(TBYTE, 1);
    EXPECT_EQ(head(*hid, 14), "03 0B ED 42 52 49 47 64 00 00 00 EF BE 01");
    hid->NewOut(0xEC);
    EXPECT_EQ(head(*hid, 4), "03 00 EC 42");
    EXPECT_EQ(hid->outPos(), 3);
    hid->AddOut(TWORD, 0x12345);
    hid->AddOut(TLONG, -1);
    hid->AddOut(TBYTE, 0x1FE);
    EXPECT_EQ(head(*hid, 12), "03 07 EC 45 23 FF FF FF FF FE 00 EF");
}

TEST(Framing, AddOutNeverWritesPastTheReport)
{
    auto hid = idleTransport();
    hid->NewOut(0x01);
    for (int i = 0; i < 15; ++i)
        hid->AddOut(TLONG, 0x01010101); // 60 payload bytes: 63 used
    EXPECT_EQ(hid->outPos(), 63);
    EXPECT_EQ(hid->outReport()[1], 60);
    hid->AddOut(TWORD, 0xFFFF); // does not fit: refused whole
    EXPECT_EQ(hid->outPos(), 63);
    EXPECT_EQ(hid->outReport()[1], 60);
    hid->AddOut(TBYTE, 0x7A); // still fits
    EXPECT_EQ(hid->outPos(), 64);
    EXPECT_EQ(hid->outReport()[63], 0x7A);
    hid->AddOut(TBYTE, 0x7B);
    EXPECT_EQ(hid->outPos(), 64);
}

TEST(Framing, AddOutWithUnknownWidthOnlyRefreshesTheLength)
{
    auto hid = idleTransport();
    hid->NewOut(0x01);
    hid->AddOut(TWORD, 1);
    hid->AddOut(static_cast<TWidth>(7), 5);
    EXPECT_EQ(hid->outPos(), 5);
    EXPECT_EQ(hid->outReport()[1], 2);
}

TEST(Framing, ArrOutClampsToTheReport)
{
    auto hid = idleTransport();
    hid->NewOut(0x01);
    uint8_t big[100];
    for (int i = 0; i < 100; ++i)
        big[i] = uint8_t(i);
    hid->ArrOut(big, 100);
    EXPECT_EQ(hid->outPos(), 64);
    EXPECT_EQ(hid->outReport()[1], 61);
    EXPECT_EQ(hid->outReport()[63], 60);
    hid->ArrOut(big, -5);
    EXPECT_EQ(hid->outPos(), 64);
}

TEST(StatusTexts, FormatsCodeAndText)
{
    EXPECT_EQ(ErrToStr(0xA000), "0xA000 (Wrong Command-Byte in Answer)");
    EXPECT_EQ(ErrToStr(0x80C6), "0x80C6 ()");
    EXPECT_EQ(ErrToStr(0xC000), "0xC000 (Illegal Value/Range)");
    EXPECT_EQ(ErrToStr(0x80C4), "0x80C4 (Illegal Value/Range)");
    EXPECT_EQ(ErrToStr(0x0000), "0x00 (Host OK)");
    EXPECT_EQ(ErrToStr(0x0005), "0x05 ()");
    EXPECT_EQ(ErrToStr(0xE000), "0xE000 (Communication Error)");
    EXPECT_EQ(ErrToStr(0xF000), "0xF000 (Timeout)");
    EXPECT_EQ(ErrToStr(0x8000), "0x8000 (OK)");
}

TEST(ReportTrace, WritesDirectionAndUpperCaseHexPairs)
{
    uint8_t r[64] = {0x03, 0x00, 0xE3, 0xab};
    const QString sent = reportTraceLine(true, r);
    EXPECT_TRUE(sent.startsWith("> 03 00 E3 AB 00"));
    EXPECT_EQ(sent.size(), 2 + 64 * 3 - 1);
    EXPECT_TRUE(reportTraceLine(false, r).startsWith("< 03"));
}
