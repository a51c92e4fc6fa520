#pragma once
#include "core/protocol/ParamTags.h"

#include <QAnyStringView>

#include <cstdint>
#include <span>

// The controller's parameters as named fields: one record per parameter
// (tag, tag word, fields), each field with its bits, scale and unit, range
// and items. The codec, the editor's ranges and lists, the command line's
// names and checks, and the tests all derive from this table.
//
// Field values are what a user sees: milliseconds, percent, LED counts,
// item indexes (-1 for "no selection"), 0/1 for the mirror flags.

enum class FieldId : int {
    Capacity,
    KeysBootloaderMs, KeysPcDiskMs,
    StartupRed, StartupGreen, StartupBlue, StartupLengthMs,
    ComProtocol, LedProtocol, LayoutType, BrightnessPercent,
    Channel1ColorOrder, Channel2ColorOrder, Channel3ColorOrder, Channel4ColorOrder,
    Channel5ColorOrder, Channel6ColorOrder, Channel7ColorOrder, Channel8ColorOrder,
    StripeMirror, MatrixMirrorX, MatrixMirrorY,
    StripeLedsPerChannel, StripeChannels,
    MatrixModulesX, MatrixModulesY, MatrixModuleLedsX, MatrixModuleLedsY,
    MatrixLedOrder, MatrixFirstLed,
    Ws2811Period, Ws2811T0h, Ws2811T1h,
    Apa106Period, Apa106T0h, Apa106T1h,
    Ws2821BitWidth, Ws2801Clock, Apa102Clock, Lpd8803Clock,
};
inline constexpr int kFieldCount = 40;

constexpr int fieldIndexOf(FieldId id)
{
    return static_cast<int>(id);
}

// One entry of a list field: the command line's token and the text the
// editor shows (the untranslated key of the language project).
struct FieldItem {
    const char *token;
    const char *text;
};

// How a field sits in its parameter word.
enum class FieldRule : uint8_t {
    Plain,    // loadBits from shift, times scale; packed as value / scale
    Flag,     // a byte that means "on" exactly when it is 1
    Repeated, // one index in all eight 4-bit fields; loaded from bits 0-1
};

// Fields whose upper limit the chosen LED protocol narrows.
enum class FieldLimit : uint8_t {
    None,
    LedsPerChannel, // also the LEDs of one matrix module
    Channels,       // also the number of matrix modules
};

struct ParamField {
    FieldId id;
    ParamTag tag;
    const char *name;
    uint8_t shift = 0;
    // Bits the value is loaded from; the editor writes packBits (32: not
    // masked, the control's range keeps the value in its width).
    uint8_t loadBits = 32;
    uint8_t packBits = 32;
    FieldRule rule = FieldRule::Plain;
    int scale = 1;       // device steps: value = stored * scale
    const char *unit = ""; // "ms", "%", "LEDs" or none
    int64_t min = 0;
    int64_t max = 0;     // for a protocol-limited field: the largest any protocol allows; lists go by their items
    int step = 1;
    std::span<const FieldItem> items{}; // empty for numbers
    FieldLimit limit = FieldLimit::None;
    bool readOnly = false;

    bool isList() const { return !items.empty(); }
};

// One parameter: its tag, the word that carries the tag to the device, and
// its fields in word order.
struct ParamRecord {
    ParamTag tag;
    const char *code;
    uint32_t word;
    std::span<const ParamField> fields;
};

// Every field, in model order (the tags' read order, then bit order).
std::span<const ParamField> paramFields();
const ParamField &paramField(FieldId id);
// nullptr for a name that is no field (names are exact, lower case).
const ParamField *findField(QAnyStringView name);

std::span<const ParamRecord> paramRecords();
const ParamRecord &paramRecord(ParamTag tag);
