#include "core/params/LayoutValidation.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
constexpr int kNone = -1, kStripe = 0, kMatrix = 1;
constexpr int kBig = std::numeric_limits<int>::max();
const char *const kStripe4096 = "Too many LEDs in stripe config (max. 4096)";
const char *const kMatrix4096 = "Too many LEDs in matrix config (max. 4096)";

std::optional<QString> expected(const char *message)
{
    return message ? std::optional<QString>(QString::fromUtf8(message)) : std::nullopt;
}

} // namespace

// Matrix: LEDs per module against the protocol's limit first, then the total
// against the capacity; any other layout is checked as a stripe. Both sides
// of each limit, and products too large for 32 bits.
TEST(ValidateLayout, EachLimitOnBothSides)
{
    const struct {
        int layout, count, channels, modulesX, modulesY, ledX, ledY, stripeMax, capacity;
        const QLocale &locale;
        const char *message; // nullptr: accepted
    } kCases[] = {
        {kStripe, 512, 8, 1, 1, 1, 1, 1024, 4096, kEnglish, nullptr},
        {kStripe, 513, 8, 1, 1, 1, 1, 1024, 4096, kEnglish, kStripe4096},
        {kStripe, 4096, 2, 1, 1, 1, 1, 1024, 4096, kGerman, kStripe4096}, // plain decimals in every locale
        {kNone, 1024, 8, 1, 1, 1, 1, 1024, 4096, kEnglish, kStripe4096},
        {kNone, 10, 1, 8, 8, 255, 255, 170, 4096, kEnglish, nullptr}, // matrix counts play no part
        {kMatrix, 1, 1, 8, 1, 16, 16, 170, 100, kEnglish, "Too many LEDs/matrix defined (max. 170)"},
        {kMatrix, 1, 1, 1, 1, 170, 1, 170, 4096, kEnglish, nullptr},
        {kMatrix, 1, 1, 2, 2, 32, 32, 1024, 2048, kEnglish, "Too many LEDs in matrix config (max. 2048)"},
        {kMatrix, 1, 1, 2, 2, 32, 32, 1024, 4096, kEnglish, nullptr},
        {kMatrix, 1, 1, 1, 1, 64, 64, 2048, 8192, kEnglish, "Too many LEDs/matrix defined (max. 2,048)"},
        {kMatrix, 1, 1, 1, 1, 64, 64, 2048, 8192, kGerman, "Too many LEDs/matrix defined (max. 2.048)"},
        // 65536 x 65536 is 0 in 32-bit arithmetic and would pass.
        {kStripe, 65536, 65536, 1, 1, 1, 1, 1024, 4096, kEnglish, kStripe4096},
        {kMatrix, 1, 1, 65536, 65536, 1, 1, kBig, 4096, kEnglish, kMatrix4096},
        {kMatrix, 1, 1, kBig, kBig, kBig, 1, kBig, 4096, kEnglish, kMatrix4096},
        {kMatrix, 1, 1, 1, 1, kBig, kBig, 1024, 4096, kEnglish, "Too many LEDs/matrix defined (max. 1,024)"},
    };
    for (const auto &c : kCases) {
        const LayoutArrangement a{c.layout, c.count, c.channels, c.modulesX, c.modulesY, c.ledX, c.ledY, c.stripeMax};
        EXPECT_EQ(validateLayout(a, c.capacity, c.locale), expected(c.message))
            << c.layout << ' ' << c.count << 'x' << c.channels << ' ' << c.modulesX << 'x' << c.modulesY << ' '
            << c.ledX << 'x' << c.ledY;
    }
}

// The arrangement as the editor loads it from the parameter words.
TEST(ValidateParams, FromParameterValues)
{
    const struct {
        QList<TCfgData> params;
        const char *message;
    } kCases[] = {
        {{{"LMAX", 4096}, {"LPRO", 0}, {"LAYO", 0}, {"SCFG", 0x00080200}}, nullptr},
        {{{"LMAX", 4096}, {"LPRO", 0}, {"LAYO", 0}, {"SCFG", 0x00080400}}, kStripe4096},
        {{{"LAYO", 0}, {"SCFG", 0x00010001}}, "Too many LEDs in stripe config (max. 0)"}, // no capacity
        {{{"LMAX", 4096}, {"LPRO", 2}, {"LAYO", 1}, {"MCHN", 0x00010001}, {"MCNT", 0x00100010}},
         "Too many LEDs/matrix defined (max. 170)"},
        // WS2811/12: 1024 per channel; 16 modules of 256 fill the capacity.
        {{{"LMAX", 4096}, {"LPRO", 0}, {"LAYO", 1}, {"MCHN", 0x00010001}, {"MCNT", 0x00100010}}, nullptr},
        {{{"LMAX", 4096}, {"LPRO", 0}, {"LAYO", 1}, {"MCHN", 0x00040004}, {"MCNT", 0x00100010}}, nullptr},
        {{{"LMAX", 4096}, {"LPRO", 0}, {"LAYO", 1}, {"MCHN", 0x00040005}, {"MCNT", 0x00100010}}, kMatrix4096},
        // Bits 0-7 and 16-23 only: 255 x 255 modules of 255 x 255 LEDs, no protocol limit.
        {{{"LMAX", 4096}, {"LPRO", 9}, {"LAYO", 1}, {"MCHN", 0xFFFFFFFF}, {"MCNT", 0xFFFFFFFF}}, kMatrix4096},
    };
    for (const auto &c : kCases)
        EXPECT_EQ(validateParams(c.params, kEnglish), expected(c.message)) << (c.message ? c.message : "accepted");
}
