#include "core/params/LayoutValidation.h"

#include "core/params/ParamCodec.h"
#include "core/params/ProtocolLimits.h"
#include "core/params/TimingReadouts.h"

#include <cstdint>
#include <limits>

namespace {

constexpr int kMatrixLayout = 1;

QString perModuleMessage(int stripeCountMax, const QLocale &locale)
{
    return QStringLiteral("Too many LEDs/matrix defined (max. %1)")
        .arg(formatGroupedNumber(stripeCountMax, 0, locale));
}

QString capacityMessage(const char *what, int ledMaxCnt)
{
    return QStringLiteral("Too many LEDs in %1 config (max. %2)")
        .arg(QLatin1String(what))
        .arg(ledMaxCnt);
}

// Exact products of up to four ints fit in 128 bits but not in 64; a
// saturating product is enough to compare with an int limit.
int64_t product(int64_t a, int64_t b)
{
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    int64_t result = 0;
    if (__builtin_mul_overflow(a, b, &result))
        return ((a < 0) != (b < 0)) ? kMin : kMax;
    return result;
}

std::optional<QString> validate(int layoutIndex, int64_t stripeCount, int64_t stripeChannels,
                                int64_t matrixX, int64_t matrixY, int64_t matrixLedX,
                                int64_t matrixLedY, std::optional<int> stripeCountMax,
                                int ledMaxCnt, const QLocale &locale)
{
    if (layoutIndex == kMatrixLayout) {
        const int64_t perModule = product(matrixLedX, matrixLedY);
        // Compared as floating values, as the spin edit's maximum is one.
        if (stripeCountMax && double(*stripeCountMax) < double(perModule))
            return perModuleMessage(*stripeCountMax, locale);
        const int64_t total = product(perModule, product(matrixX, matrixY));
        if (total > ledMaxCnt)
            return capacityMessage("matrix", ledMaxCnt);
        return std::nullopt;
    }
    if (product(stripeCount, stripeChannels) > ledMaxCnt)
        return capacityMessage("stripe", ledMaxCnt);
    return std::nullopt;
}

} // namespace

std::optional<QString> validateLayout(int layoutIndex, int stripeCount, int stripeChannels,
                                      int matrixX, int matrixY, int matrixLedX, int matrixLedY,
                                      int stripeCountMax, int ledMaxCnt, const QLocale &locale)
{
    return validate(layoutIndex, stripeCount, stripeChannels, matrixX, matrixY, matrixLedX,
                    matrixLedY, stripeCountMax, ledMaxCnt, locale);
}

std::optional<QString> validateParams(const QList<TCfgData> &params, const QLocale &locale)
{
    const EditorValues v = unpackParams(params);
    const int ledMaxCnt = findParam(params, "LMAX") ? v.ledMaxCnt : 0;
    // LAYO missing counts as "none selected", which is checked as a stripe.
    const int layout = findParam(params, "LAYO") ? v.layout : -1;
    std::optional<int> stripeCountMax;
    if (const auto limits = protocolLimits(findParam(params, "LPRO") ? v.ledProto : -1))
        stripeCountMax = limits->stripeMax;
    return validate(layout, v.stripeCount, v.stripeChannels, v.matrixX, v.matrixY, v.matrixLedX,
                    v.matrixLedY, stripeCountMax, ledMaxCnt, locale);
}
