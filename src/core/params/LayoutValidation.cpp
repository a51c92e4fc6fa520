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

} // namespace

LayoutArrangement LayoutArrangement::fromParams(const QList<TCfgData> &params)
{
    const FieldValues v = loadParams(params);
    LayoutArrangement a;
    // LAYO missing counts as "none selected", which is checked as a stripe.
    a.layout = findParam(params, "LAYO") ? int(at(v, FieldId::LayoutType)) : -1;
    a.stripeCount = int(at(v, FieldId::StripeLedsPerChannel));
    a.stripeChannels = int(at(v, FieldId::StripeChannels));
    a.matrixX = int(at(v, FieldId::MatrixModulesX));
    a.matrixY = int(at(v, FieldId::MatrixModulesY));
    a.matrixLedX = int(at(v, FieldId::MatrixModuleLedsX));
    a.matrixLedY = int(at(v, FieldId::MatrixModuleLedsY));
    const int64_t proto = at(v, FieldId::LedProtocol);
    if (const auto limits = protocolLimits(findParam(params, "LPRO") ? int(proto) : -1))
        a.stripeCountMax = limits->stripeMax;
    return a;
}

std::optional<QString> validateLayout(const LayoutArrangement &a, int ledMaxCnt, const QLocale &locale)
{
    if (a.layout == kMatrixLayout) {
        const int64_t perModule = product(a.matrixLedX, a.matrixLedY);
        // Compared as floating values, as the spin edit's maximum is one.
        if (a.stripeCountMax && double(*a.stripeCountMax) < double(perModule))
            return perModuleMessage(*a.stripeCountMax, locale);
        const int64_t total = product(perModule, product(a.matrixX, a.matrixY));
        if (total > ledMaxCnt)
            return capacityMessage("matrix", ledMaxCnt);
        return std::nullopt;
    }
    if (product(a.stripeCount, a.stripeChannels) > ledMaxCnt)
        return capacityMessage("stripe", ledMaxCnt);
    return std::nullopt;
}

std::optional<QString> validateParams(const QList<TCfgData> &params, const QLocale &locale)
{
    // Taken as the window takes it: the word as a signed count.
    const int ledMaxCnt = int(findParam(params, "LMAX").value_or(0));
    return validateLayout(LayoutArrangement::fromParams(params), ledMaxCnt, locale);
}
