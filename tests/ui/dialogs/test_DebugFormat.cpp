#include "ui/dialogs/DebugFormat.h"

#include <gtest/gtest.h>

TEST(FormatText, IntegersInDecimalAndHex)
{
    EXPECT_EQ(formatText("%d items", {3}), "3 items");
    EXPECT_EQ(formatText("%d", {-1}), "-1");
    EXPECT_EQ(formatText("%i|%u", {7, 8u}), "7|8");
    EXPECT_EQ(formatText("%x %X", {255, 255}), "FF FF");
    EXPECT_EQ(formatText("%.2x", {5}), "05");
    EXPECT_EQ(formatText("0x%0.2x (%s)", {0x80C0, "refused"}), "0x80C0 (refused)");
    EXPECT_EQ(formatText("0x%0.2x", {10}), "0x0A");
    EXPECT_EQ(formatText("%08X", {0xABCD}), "0000ABCD");
    EXPECT_EQ(formatText("%5d|%-5d|", {42, 42}), "   42|42   |");
}

TEST(FormatText, NegativeHexShowsTheBitPatternOfItsWidth)
{
    EXPECT_EQ(formatText("%x", {-1}), "FFFFFFFF");
    EXPECT_EQ(formatText("%X", {qint64(-1)}), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(formatText("%u", {-2}), "4294967294");
}

TEST(FormatText, TextsCharactersAndFloats)
{
    EXPECT_EQ(formatText("[%s]", {"a b"}), "[a b]");
    EXPECT_EQ(formatText("[%6s][%-6s][%.2s]", {"ab", "ab", "abcd"}), "[    ab][ab    ][ab]");
    EXPECT_EQ(formatText("%c%c%c", {QChar('x'), 65, "yz"}), "xAy");
    EXPECT_EQ(formatText("%5.1f", {3.14159}), "  3.1");
    EXPECT_EQ(formatText("100%%", {}), "100%");
}

TEST(FormatText, WhatCannotBeFormattedIsCopied)
{
    EXPECT_EQ(formatText("%d and %d", {1}), "1 and %d");
    EXPECT_EQ(formatText("%y", {1}), "%y");
    EXPECT_EQ(formatText("end %", {1}), "end %");
    EXPECT_EQ(formatText("%ld", {qint64(5)}), "5");
}

TEST(FormatText, AHugeWidthIsCapped)
{
    EXPECT_LE(formatText("%999999999d", {1}).size(), 1000);
}
