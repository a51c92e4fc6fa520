#pragma once
// The language project model in one include: catalogue, occurrences,
// entries, projects, and the reader/writer behind TProject.
#include "i18n/LanguageCatalogue.h"
#include "i18n/LanguageEntry.h"
#include "i18n/LanguageError.h"
#include "i18n/LanguageOccurence.h"
#include "i18n/LanguageProject.h"
#include "i18n/LanguageText.h"
