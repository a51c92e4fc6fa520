#include "core/params/ProtocolLimits.h"

#include <array>
#include <cstdint>

namespace {

struct LimitRow {
    int stripeMax;
    int channelMax;
    const char *stripeLabel;
    const char *channelLabel;
};

// Indexed by the item index of cbLedProto.
constexpr std::array<LimitRow, 6> kLimits{{
    {1024, 8, "Max. 1024", "Max. 8"}, // WS2811/12
    {1024, 8, "Max. 1024", "Max. 8"}, // APA106
    {170, 8, "Max. 170", "Max. 8"},   // WS2821 (DMX)
    {2048, 1, "Max. 2048", "Max. 1"}, // WS2801
    {2048, 1, "Max. 2048", "Max. 1"}, // APA102
    {2048, 1, "Max. 2048", "Max. 1"}, // LPD8803/06
}};

} // namespace

std::optional<ProtocolLimits> protocolLimits(int ledProtoIndex)
{
    if (ledProtoIndex < 0 || ledProtoIndex >= int(kLimits.size()))
        return std::nullopt;
    const LimitRow &row = kLimits[std::size_t(ledProtoIndex)];
    return ProtocolLimits{row.stripeMax, row.channelMax, QString::fromLatin1(row.stripeLabel),
                          QString::fromLatin1(row.channelLabel)};
}

bool matrixModulesFit(int modulesX, int modulesY, int channelMax)
{
    return int64_t(modulesX) * int64_t(modulesY) <= int64_t(channelMax);
}
