#pragma once
#include <QString>

// Identifiers of the embedded language project that code looks up by name.

// The About window's information text (rendered with <br> and <b> markup).
extern const QString AboutInfoText;
