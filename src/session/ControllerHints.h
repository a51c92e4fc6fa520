#pragma once
#include <QString>

// The message of an empty bus, and what to do about it: both front ends
// show them alike.
QString noControllerMessage();
QString noControllerHint();
