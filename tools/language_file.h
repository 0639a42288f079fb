#pragma once
// The language file "vlt010005.lan" built from a checked language table: one record per
// language column, each text at its offset as a string[N] with N = span - 1 (at most 255),
// every byte that no text covers left zero.

#include <string>
#include <vector>

#include "records/language_record.h"
#include "tools/language_table.h"

namespace tallymoor {

// One record per language, in the column order of kTableLanguages. The table must be free
// of errors (LanguageTable::ok()).
std::vector<LanguageRecord> buildLanguageRecords(const LanguageTable& table);

// Writes the records one after the other. The file is written beside its final name and
// renamed at the end, so a failed write never leaves a partial file. Returns an error
// message, empty on success.
std::string writeLanguageFile(const std::string& path, const std::vector<LanguageRecord>& records);

}  // namespace tallymoor
