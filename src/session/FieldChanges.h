#pragma once
#include "core/params/ParamCodec.h"

#include <QList>
#include <QString>

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>

// A field set to a value, as the editor or the command line asks for it.
struct FieldChange {
    FieldId field;
    int64_t value = 0;
};

// A parameter's whole word, as a profile or a raw command line gives it.
struct WordChange {
    ParamTag tag;
    uint32_t word = 0;
};

// How whole words are judged.
enum class WordCheck {
    Fields,  // each field against its range and items; over a protocol limit is refused
    Profile, // the same, but a protocol limit adjusts: a saved file holds what its controller held
    Raw,     // taken as they are, with nothing adjusted
};

// A change that was not made, and why (the range or items it takes).
struct FieldRefusal {
    FieldId field;
    int64_t value = 0;
    QString message;
};

// A value that ended up other than asked or than it was: a protocol that
// allows fewer LEDs or channels lowers a count nobody set in the same
// change; a time is kept in the controller's steps.
struct FieldAdjustment {
    enum class Reason { ProtocolLimit, DeviceStep };
    FieldId field;
    int64_t from = 0;
    int64_t to = 0;
    Reason reason = Reason::ProtocolLimit;
    int protocol = -1; // the LED protocol whose limit applies
};

// What setFields did. When anything was refused, nothing changed at all.
struct FieldsResult {
    QList<FieldId> accepted;
    QList<FieldRefusal> refused;
    QList<FieldAdjustment> adjusted;
    // The send's message for an arrangement the controller cannot take
    // (too many LEDs); empty when it fits. Flagged, not refused, so a count
    // can be typed before the one that makes it fit.
    QString arrangementProblem;

    bool ok() const { return refused.isEmpty(); }
};

using ParamWords = std::array<uint32_t, kParamTagCount>;

// The outcome of judging changes against the words a controller holds.
struct ChangePlan {
    ParamWords words{};
    std::bitset<kParamTagCount> touched;  // tags whose word was set or adjusted
    std::bitset<kFieldCount> userFields;  // fields the user's change names, adjustments included
    FieldsResult result;
};

// The one rule for changes, for every front end: each value against its
// field's range and items, then, with every change applied, the LED
// protocol's limits (a value set over it is refused, a value left over it
// is lowered) and the module count against the channels, then the
// arrangement against `capacity`. Changes of one call are judged together,
// so their order does not matter.
ChangePlan planChanges(const ParamWords &current, int capacity, const QList<FieldChange> &fields,
                       const QList<WordChange> &words = {}, WordCheck check = WordCheck::Fields);

// How a front end names things in an adjustment's text.
struct AdjustmentWording {
    std::function<QString(FieldId)> field;
    std::function<QString(int protocol)> protocol;
    // Applied to the sentence pattern before it is filled (a translation).
    std::function<QString(const QString &)> pattern = [](const QString &text) { return text; };
};

// "stripe.leds_per_channel lowered from 512 to 170: ws2821 allows at most 170"
QString describeAdjustment(const FieldAdjustment &adjustment, const AdjustmentWording &wording);
// The command line's wording: field names and protocol tokens.
AdjustmentWording fieldNameWording();
