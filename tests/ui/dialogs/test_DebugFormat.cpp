#include "ui/dialogs/DebugFormat.h"

#include <gtest/gtest.h>

TEST(FormatText, IntegersInDecimalAndHex)
{
    EXPECT_EQ(FormatText("%d items", {3}), "3 items");
    EXPECT_EQ(FormatText("%d", {-1}), "-1");
    EXPECT_EQ(FormatText("%i|%u", {7, 8u}), "7|8");
    EXPECT_EQ(FormatText("%x %X", {255, 255}), "FF FF");
    EXPECT_EQ(FormatText("%.2x", {5}), "05");
    EXPECT_EQ(FormatText("0x%0.2x (%s)", {0x80C0, "refused"}), "0x80C0 (refused)");
    EXPECT_EQ(FormatText("0x%0.2x", {10}), "0x0A");
    EXPECT_EQ(FormatText("%08X", {0xABCD}), "0000ABCD");
    EXPECT_EQ(FormatText("%5d|%-5d|", {42, 42}), "   42|42   |");
}

TEST(FormatText, NegativeHexShowsTheBitPatternOfItsWidth)
{
    EXPECT_EQ(FormatText("%x", {-1}), "FFFFFFFF");
    EXPECT_EQ(FormatText("%X", {qint64(-1)}), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(FormatText("%u", {-2}), "4294967294");
}

TEST(FormatText, TextsCharactersAndFloats)
{
    EXPECT_EQ(FormatText("[%s]", {"a b"}), "[a b]");
    EXPECT_EQ(FormatText("[%6s][%-6s][%.2s]", {"ab", "ab", "abcd"}), "[    ab][ab    ][ab]");
    EXPECT_EQ(FormatText("%c%c%c", {QChar('x'), 65, "yz"}), "xAy");
    EXPECT_EQ(FormatText("%5.1f", {3.14159}), "  3.1");
    EXPECT_EQ(FormatText("100%%", {}), "100%");
}

TEST(FormatText, WhatCannotBeFormattedIsCopied)
{
    EXPECT_EQ(FormatText("%d and %d", {1}), "1 and %d");
    EXPECT_EQ(FormatText("%y", {1}), "%y");
    EXPECT_EQ(FormatText("end %", {1}), "end %");
    EXPECT_EQ(FormatText("%ld", {qint64(5)}), "5");
}

TEST(FormatText, AHugeWidthIsCapped)
{
    EXPECT_LE(FormatText("%999999999d", {1}).size(), 1000);
}
