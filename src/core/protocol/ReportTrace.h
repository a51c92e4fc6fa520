#pragma once
#include <QString>

#include <cstdint>

// One trace line of an exchanged report: "> " for a report sent, "< " for
// one received, then the 64 bytes as upper-case hex pairs separated by blanks.
QString reportTraceLine(bool sent, const uint8_t *report64);
