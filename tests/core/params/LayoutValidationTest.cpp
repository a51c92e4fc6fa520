#include "core/params/LayoutValidation.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
constexpr int kStripe = 0;
constexpr int kMatrix = 1;

std::optional<QString> check(int layout, int count, int channels, int modulesX, int modulesY, int ledX, int ledY,
                             int stripeMax, int capacity, const QLocale &locale)
{
    return validateLayout({layout, count, channels, modulesX, modulesY, ledX, ledY, stripeMax}, capacity, locale);
}

std::optional<QString> stripe(int count, int channels, int capacity)
{
    return check(kStripe, count, channels, 1, 1, 1, 1, 1024, capacity, kEnglish);
}

std::optional<QString> matrix(int modulesX, int modulesY, int ledX, int ledY, int stripeMax,
                              int capacity, const QLocale &locale = kEnglish)
{
    return check(kMatrix, 1, 1, modulesX, modulesY, ledX, ledY, stripeMax, capacity,
                          locale);
}

} // namespace

TEST(ValidateLayout, StripeAgainstCapacity)
{
    EXPECT_EQ(stripe(1024, 8, 4096), QStringLiteral("Too many LEDs in stripe config (max. 4096)"));
    EXPECT_EQ(stripe(512, 8, 4096), std::nullopt);
    EXPECT_EQ(stripe(513, 8, 4096), QStringLiteral("Too many LEDs in stripe config (max. 4096)"));
}

TEST(ValidateLayout, NoLayoutSelectedChecksAsStripe)
{
    EXPECT_EQ(check(-1, 1024, 8, 1, 1, 1, 1, 1024, 4096, kEnglish),
              QStringLiteral("Too many LEDs in stripe config (max. 4096)"));
    // The matrix counts play no part then.
    EXPECT_EQ(check(-1, 10, 1, 8, 8, 255, 255, 170, 4096, kEnglish), std::nullopt);
}

TEST(ValidateLayout, MatrixModuleBeforeCapacity)
{
    // 16 x 16 = 256 LEDs per module exceeds WS2821's 170 although the total
    // exceeds the capacity as well.
    EXPECT_EQ(matrix(8, 1, 16, 16, 170, 100),
              QStringLiteral("Too many LEDs/matrix defined (max. 170)"));
    EXPECT_EQ(matrix(2, 2, 32, 32, 1024, 2048),
              QStringLiteral("Too many LEDs in matrix config (max. 2048)"));
}

TEST(ValidateLayout, MatrixLimitsAreInclusive)
{
    EXPECT_EQ(matrix(2, 2, 32, 32, 1024, 4096), std::nullopt);
    EXPECT_EQ(matrix(1, 1, 170, 1, 170, 4096), std::nullopt);
}

TEST(ValidateLayout, ModuleLimitWithThousandsSeparators)
{
    EXPECT_EQ(matrix(1, 1, 64, 64, 2048, 8192),
              QStringLiteral("Too many LEDs/matrix defined (max. 2,048)"));
    EXPECT_EQ(matrix(1, 1, 64, 64, 2048, 8192, kGerman),
              QStringLiteral("Too many LEDs/matrix defined (max. 2.048)"));
    // The capacity messages are plain decimals in every locale.
    EXPECT_EQ(check(kStripe, 4096, 2, 1, 1, 1, 1, 1024, 4096, kGerman),
              QStringLiteral("Too many LEDs in stripe config (max. 4096)"));
}

TEST(ValidateLayout, HugeProductsDoNotWrapIntoRange)
{
    // 65536 x 65536 is 0 in 32-bit arithmetic and would pass.
    constexpr int kNoModuleLimit = std::numeric_limits<int>::max();
    EXPECT_EQ(stripe(65536, 65536, 4096), QStringLiteral("Too many LEDs in stripe config (max. 4096)"));
    EXPECT_EQ(matrix(65536, 65536, 1, 1, kNoModuleLimit, 4096),
              QStringLiteral("Too many LEDs in matrix config (max. 4096)"));
    const int big = std::numeric_limits<int>::max();
    EXPECT_EQ(matrix(big, big, big, 1, kNoModuleLimit, 4096),
              QStringLiteral("Too many LEDs in matrix config (max. 4096)"));
    EXPECT_EQ(matrix(1, 1, big, big, 1024, 4096),
              QStringLiteral("Too many LEDs/matrix defined (max. 1,024)"));
}

TEST(ValidateParams, StripeFromParameterValues)
{
    QList<TCfgData> params{{"LMAX", 4096}, {"LPRO", 0}, {"LAYO", 0}, {"SCFG", 0x00080200}};
    EXPECT_EQ(validateParams(params, kEnglish), std::nullopt);
    params[3].Value = 0x00080400;
    EXPECT_EQ(validateParams(params, kEnglish),
              QStringLiteral("Too many LEDs in stripe config (max. 4096)"));
}

TEST(ValidateParams, MatrixUsesProtocolLimit)
{
    QList<TCfgData> params{{"LMAX", 4096}, {"LPRO", 2},          {"LAYO", 1},
                           {"MCHN", 0x00010001}, {"MCNT", 0x00100010}};
    EXPECT_EQ(validateParams(params, kEnglish),
              QStringLiteral("Too many LEDs/matrix defined (max. 170)"));
    params[1].Value = 0; // WS2811/12: 1024 per channel
    EXPECT_EQ(validateParams(params, kEnglish), std::nullopt);
    params[3].Value = 0x00040004; // 16 modules of 256
    EXPECT_EQ(validateParams(params, kEnglish), std::nullopt);
    params[3].Value = 0x00040005;
    EXPECT_EQ(validateParams(params, kEnglish),
              QStringLiteral("Too many LEDs in matrix config (max. 4096)"));
}

TEST(ValidateParams, CountsAsTheEditorLoadsThem)
{
    // MCHN and MCNT are loaded from bits 0-7 and 16-23: 255 x 255 modules of
    // 255 x 255 LEDs, far beyond 2^31, with no protocol limit to stop it.
    const QList<TCfgData> params{{"LMAX", 4096}, {"LPRO", 9}, {"LAYO", 1},
                                 {"MCHN", 0xFFFFFFFF}, {"MCNT", 0xFFFFFFFF}};
    EXPECT_EQ(validateParams(params, kEnglish),
              QStringLiteral("Too many LEDs in matrix config (max. 4096)"));
}

TEST(ValidateParams, MissingCapacityRefuses)
{
    const QList<TCfgData> params{{"LAYO", 0}, {"SCFG", 0x00010001}};
    EXPECT_EQ(validateParams(params, kEnglish),
              QStringLiteral("Too many LEDs in stripe config (max. 0)"));
}
