#include "core/params/ParamCodec.h"

#include <cmath>
#include <limits>

namespace {

using Field = int &(*)(EditorValues &);

template <int EditorValues::*M>
int &at(EditorValues &v)
{
    return v.*M;
}
template <PulseTiming EditorValues::*G, int PulseTiming::*M>
int &pulse(EditorValues &v)
{
    return (v.*G).*M;
}
template <std::size_t I>
int &colour(EditorValues &v)
{
    return v.ledColors[I];
}

// How a parameter maps onto the controls.
enum class Kind {
    Capacity, // whole value shown, never written
    Fields,   // up to four integer fields side by side
    Mirror,   // three flags in bytes 0-2
    Nibbles,  // one index repeated in all eight 4-bit fields
};

// One integer field. The editor writes value div scale, cut to packBits,
// at `shift`; the loader takes loadBits from `shift` and multiplies by
// scale. The two widths differ where loading takes fewer bits than the
// editor writes (SCFG, MCHN, MCNT).
struct FieldLayout {
    Field field = nullptr;
    uint8_t shift = 0;
    uint8_t loadBits = 32;
    uint8_t packBits = 32;
    int scale = 1;
};

struct Codec {
    Kind kind;
    std::array<FieldLayout, 4> fields{};
};

constexpr FieldLayout whole(Field f)
{
    return {f, 0, 32, 32, 1};
}
constexpr FieldLayout byte0(Field f)
{
    return {f, 0, 8, 32, 1};
}
constexpr FieldLayout bits(Field f, uint8_t shift, uint8_t loadBits, int scale = 1)
{
    return {f, shift, loadBits, 32, scale};
}
constexpr FieldLayout lowByteAt(Field f, uint8_t shift)
{
    return {f, shift, 8, 8, 1};
}

const std::array<Codec, kParamTagCount> kCodecs{{
    /* LMAX */ {Kind::Capacity, {whole(at<&EditorValues::ledMaxCnt>)}},
    /* KTIM */ {Kind::Fields, {bits(at<&EditorValues::keyBootMs>, 0, 8, 20),
                               bits(at<&EditorValues::keyMscMs>, 8, 8, 20)}},
    /* STUP */ {Kind::Fields, {bits(at<&EditorValues::startupR>, 0, 8),
                               bits(at<&EditorValues::startupG>, 8, 8),
                               bits(at<&EditorValues::startupB>, 16, 8),
                               bits(at<&EditorValues::startupTimeMs>, 24, 8, 10)}},
    /* CPRO */ {Kind::Fields, {whole(at<&EditorValues::comProto>)}},
    /* LPRO */ {Kind::Fields, {whole(at<&EditorValues::ledProto>)}},
    /* LAYO */ {Kind::Fields, {whole(at<&EditorValues::layout>)}},
    /* BRIG */ {Kind::Fields, {byte0(at<&EditorValues::bright>)}},
    /* COL0 */ {Kind::Fields, {lowByteAt(colour<0>, 0), lowByteAt(colour<1>, 8),
                               lowByteAt(colour<2>, 16), lowByteAt(colour<3>, 24)}},
    /* COL1 */ {Kind::Fields, {lowByteAt(colour<4>, 0), lowByteAt(colour<5>, 8),
                               lowByteAt(colour<6>, 16), lowByteAt(colour<7>, 24)}},
    /* MIRR */ {Kind::Mirror, {}},
    /* SCFG */ {Kind::Fields, {bits(at<&EditorValues::stripeCount>, 0, 16),
                               bits(at<&EditorValues::stripeChannels>, 16, 8)}},
    /* MCHN */ {Kind::Fields, {bits(at<&EditorValues::matrixX>, 0, 8),
                               bits(at<&EditorValues::matrixY>, 16, 8)}},
    /* MCNT */ {Kind::Fields, {bits(at<&EditorValues::matrixLedX>, 0, 8),
                               bits(at<&EditorValues::matrixLedY>, 16, 8)}},
    /* MXOR */ {Kind::Nibbles, {whole(at<&EditorValues::ledOrder>)}},
    /* MBEG */ {Kind::Nibbles, {whole(at<&EditorValues::firstLed>)}},
    /* 1CFG */ {Kind::Fields, {bits(pulse<&EditorValues::ws2812, &PulseTiming::per>, 0, 8),
                               bits(pulse<&EditorValues::ws2812, &PulseTiming::t0h>, 8, 8),
                               bits(pulse<&EditorValues::ws2812, &PulseTiming::t1h>, 16, 8)}},
    /* 2CFG */ {Kind::Fields, {bits(pulse<&EditorValues::apa106, &PulseTiming::per>, 0, 8),
                               bits(pulse<&EditorValues::apa106, &PulseTiming::t0h>, 8, 8),
                               bits(pulse<&EditorValues::apa106, &PulseTiming::t1h>, 16, 8)}},
    /* 3CFG */ {Kind::Fields, {byte0(at<&EditorValues::ws2821bw>)}},
    /* 4CFG */ {Kind::Fields, {byte0(at<&EditorValues::ws2801clk>)}},
    /* 5CFG */ {Kind::Fields, {byte0(at<&EditorValues::apa102clk>)}},
    /* 6CFG */ {Kind::Fields, {byte0(at<&EditorValues::lpd8803clk>)}},
}};

constexpr uint32_t maskOf(int bitCount)
{
    return bitCount >= 32 ? 0xFFFFFFFFu : (uint32_t(1) << bitCount) - 1;
}

// All arithmetic on the packed word is unsigned, so a -1 index wraps to
// all bits set instead of being undefined.
uint32_t packFields(const Codec &codec, EditorValues &values)
{
    uint32_t word = 0;
    for (const FieldLayout &layout : codec.fields) {
        if (!layout.field)
            continue;
        const uint32_t v = uint32_t(layout.field(values) / layout.scale) & maskOf(layout.packBits);
        word += v << layout.shift;
    }
    return word;
}

void unpackFields(const Codec &codec, uint32_t word, EditorValues &values)
{
    for (const FieldLayout &layout : codec.fields) {
        if (!layout.field)
            continue;
        const uint32_t raw = (word >> layout.shift) & maskOf(layout.loadBits);
        // A whole 32-bit value above INT_MAX becomes a negative index (C++20
        // conversion is modular); the combo box rejects it either way.
        layout.field(values) = static_cast<int>(raw) * layout.scale;
    }
}

uint32_t packNibbles(int index)
{
    uint32_t word = 0;
    for (int k = 0; k < 8; ++k)
        word |= uint32_t(index) << (4 * k);
    return word;
}

} // namespace

bool unpackParam(int tagIndex, uint32_t value, EditorValues &values)
{
    if (tagIndex < 0 || tagIndex >= kParamTagCount)
        return false;
    const Codec &codec = kCodecs[std::size_t(tagIndex)];
    switch (codec.kind) {
    case Kind::Capacity:
    case Kind::Fields:
        unpackFields(codec, value, values);
        break;
    case Kind::Mirror:
        values.stripeMirror = (value & 0xFF) == 1;
        values.mirrorX = ((value >> 8) & 0xFF) == 1;
        values.mirrorY = ((value >> 16) & 0xFF) == 1;
        break;
    case Kind::Nibbles:
        codec.fields[0].field(values) = int(value & 0x3);
        break;
    }
    return true;
}

std::optional<uint32_t> packParam(int tagIndex, const EditorValues &values)
{
    if (tagIndex < 0 || tagIndex >= kParamTagCount)
        return std::nullopt;
    const Codec &codec = kCodecs[std::size_t(tagIndex)];
    // The accessors hand out mutable references; packing only reads them.
    EditorValues &source = const_cast<EditorValues &>(values);
    switch (codec.kind) {
    case Kind::Capacity:
        return std::nullopt;
    case Kind::Fields:
        return packFields(codec, source);
    case Kind::Mirror:
        return (values.stripeMirror ? 0x1u : 0u) + (values.mirrorX ? 0x100u : 0u)
            + (values.mirrorY ? 0x10000u : 0u);
    case Kind::Nibbles:
        return packNibbles(codec.fields[0].field(source));
    }
    return std::nullopt;
}

EditorValues unpackParams(const QList<TCfgData> &params)
{
    EditorValues values;
    for (const TCfgData &param : params)
        unpackParam(tagIndex(param.Code), param.Value, values);
    return values;
}

std::optional<uint32_t> findParam(const QList<TCfgData> &params, const char *code)
{
    for (const TCfgData &param : params) {
        if (param.Code == code)
            return param.Value;
    }
    return std::nullopt;
}

int nearestInt(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    if (rounded <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (rounded >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(rounded);
}
