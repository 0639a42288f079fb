#pragma once
// Finds a language in the language file and makes it the current language record.

#include <string>

#include "record-store/record_store.h"
#include "records/language_record.h"

namespace tallymoor {

// Reads records from the first on until one is named exactly `name` (case-sensitive); that
// record, or the last of the file when none matches, becomes `current`. An empty file
// leaves `current` as it was. False when the file could not be opened: `current` is
// unchanged and the store's FileErrorText says why.
bool loadLanguage(RecordStore& store, const std::string& name, LanguageRecord& current);

}  // namespace tallymoor
