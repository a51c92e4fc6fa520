#include "core/protocol/ReportTrace.h"
#include "device/uComHid.h"

#include <gtest/gtest.h>

namespace {
std::unique_ptr<TComHid> idleTransport()
{
    return std::make_unique<TComHid>([]() -> std::unique_ptr<HidController> { return nullptr; });
}
} // namespace

TEST(Framing, NewOutStartsACommandAndKeepsTheRest)
{
    auto hid = idleTransport();
    hid->NewOut(0xED);
    hid->AddOut(TLONG, 0x11223344);
    hid->NewOut(0xEC);
    EXPECT_EQ(hid->outReport()[0], 3);
    EXPECT_EQ(hid->outReport()[1], 0);
    EXPECT_EQ(hid->outReport()[2], 0xEC);
    EXPECT_EQ(hid->outPos(), 3);
    // Bytes after the new payload are left as the earlier command wrote them.
    EXPECT_EQ(hid->outReport()[3], 0x44);
}

TEST(Framing, AddOutAppendsLeastSignificantFirstInItsWidth)
{
    auto hid = idleTransport();
    hid->NewOut(0xED);
    hid->AddOut(TWORD, 0x12345);
    EXPECT_EQ(hid->outReport()[3], 0x45);
    EXPECT_EQ(hid->outReport()[4], 0x23);
    hid->AddOut(TLONG, -1);
    for (int i = 5; i < 9; ++i)
        EXPECT_EQ(hid->outReport()[i], 0xFF);
    hid->AddOut(TBYTE, 0x1FE);
    EXPECT_EQ(hid->outReport()[9], 0xFE);
    EXPECT_EQ(hid->outReport()[1], 7);
}

TEST(Framing, WriteRequestHasLengthEleven)
{
    auto hid = idleTransport();
    hid->NewOut(0xED);
    hid->AddOut(TLONG, 0x47495242); // "BRIG"
    hid->AddOut(TLONG, 100);
    hid->AddOut(TWORD, 0xBEEF);
    hid->AddOut(TBYTE, 1);
    const uint8_t expected[] = {0x03, 0x0B, 0xED, 0x42, 0x52, 0x49, 0x47, 0x64, 0x00, 0x00, 0x00, 0xEF, 0xBE, 0x01};
    EXPECT_EQ(0, memcmp(hid->outReport().data(), expected, sizeof expected));
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
