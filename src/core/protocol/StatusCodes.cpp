#include "core/protocol/StatusCodes.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<uint16_t, const char *>, 16> kStatusTexts{{
    {0x0000, "Host OK"},
    {0x8000, "OK"},
    {0x80C0, "Unknown Command"},
    {0x80C1, "Unknown Function"},
    {0x80C2, "Wrong Byte Count"},
    {0x80C3, "Wrong Crypt Code"},
    {0x80C4, "Illegal Value/Range"},
    {0x80C5, "Not in Bootmode"},
    {0x80C7, "Execution Failed"},
    {0x80C8, "Execution Timeout"},
    {0xA000, "Wrong Command-Byte in Answer"},
    {0xB000, "Bad Data in Frame"},
    {0xC000, "Illegal Value/Range"},
    {0xD000, "Empty Frame"},
    {0xE000, "Communication Error"},
    {0xF000, "Timeout"},
}};
} // namespace

QString statusText(uint16_t err)
{
    for (const auto &[code, text] : kStatusTexts) {
        if (code == err)
            return QString::fromLatin1(text);
    }
    return {};
}

QString ErrToStr(uint16_t err)
{
    return QStringLiteral("0x%1 (%2)")
        .arg(QString::number(err, 16).toUpper().rightJustified(2, QLatin1Char('0')), statusText(err));
}
