#pragma once
#include "core/params/CfgData.h"
#include "core/params/ParamTable.h"

#include <QList>
#include <array>
#include <cstdint>
#include <optional>

// Timing codes of the WS2811/12 and APA106 groups (ticks of 1/96 us).
struct PulseTiming {
    int per = 0;
    int t0h = 0;
    int t1h = 0;
    friend bool operator==(const PulseTiming &, const PulseTiming &) = default;
};

// What the editor's controls show, one field per control. Item indexes are
// plain ints: -1 is "no selection", and a loaded value the list does not
// hold is passed on as it is, for the combo box to reject.
struct EditorValues {
    int ledMaxCnt = 0; // LMAX, shown only
    int keyBootMs = 0;
    int keyMscMs = 0;
    int startupR = 0;
    int startupG = 0;
    int startupB = 0;
    int startupTimeMs = 0;
    int comProto = 0;
    int ledProto = 0;
    int layout = 0;
    int bright = 0;
    std::array<int, 8> ledColors{};
    bool stripeMirror = false;
    bool mirrorX = false;
    bool mirrorY = false;
    int stripeCount = 0;
    int stripeChannels = 0;
    int matrixX = 0;
    int matrixY = 0;
    int matrixLedX = 0;
    int matrixLedY = 0;
    int firstLed = 0;
    int ledOrder = 0;
    PulseTiming ws2812;
    PulseTiming apa106;
    int ws2821bw = 0;
    int ws2801clk = 0;
    int apa102clk = 0;
    int lpd8803clk = 0;

    friend bool operator==(const EditorValues &, const EditorValues &) = default;
};

// Sets the fields a parameter feeds from a value read from the device, by
// the loaded-as rules (byte 0 of BRIG, bits 0-1 of MXOR, ...). Fields of
// other parameters are left alone. False for an index outside the table.
bool unpackParam(int tagIndex, uint32_t value, EditorValues &values);

// The value the editor writes for a parameter, by the handlers' formulas
// (KTIM = boot div 20 + (PC disk div 20) << 8, ...). Fields are not masked
// beyond what the formulas say: the control ranges keep them in their
// widths. nullopt for LMAX, which the editor never writes, and for an index
// outside the table.
std::optional<uint32_t> packParam(int tagIndex, const EditorValues &values);

// Unpacks every known tag of a parameter list; unknown tags are skipped.
EditorValues unpackParams(const QList<TCfgData> &params);

// Value of a tag in a parameter list (first match, exact), or nullopt.
std::optional<uint32_t> findParam(const QList<TCfgData> &params, const char *code);

// A floating spin value (the key times) to the nearest integer; ties go to
// the even neighbour, NaN gives 0 and values beyond int are clamped.
int nearestInt(double value);
