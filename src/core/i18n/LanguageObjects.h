#pragma once
// The language project model in one include: catalogue, occurrences,
// entries, projects, and the reader/writer behind TProject.
#include "core/i18n/LanguageCatalogue.h"
#include "core/i18n/LanguageEntry.h"
#include "core/i18n/LanguageError.h"
#include "core/i18n/LanguageOccurence.h"
#include "core/i18n/LanguageProject.h"
#include "core/i18n/LanguageText.h"
