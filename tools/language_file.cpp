#include "tools/language_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "records/byte_codec.h"

namespace tallymoor {

std::vector<LanguageRecord> buildLanguageRecords(const LanguageTable& table) {
  std::vector<LanguageRecord> records;
  records.reserve(kTableLanguages.size());
  for (std::size_t language = 0; language < kTableLanguages.size(); ++language) {
    ByteWriter writer(LanguageRecord::kSize);
    for (const LanguageTableRow& row : table.rows)
      writer.text(row.offset, std::min<std::size_t>(row.span - 1, 255), row.texts[language]);
    records.push_back(LanguageRecord::decode(writer.bytes()));
  }
  return records;
}

std::string writeLanguageFile(const std::string& path, const std::vector<LanguageRecord>& records) {
  std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    for (const LanguageRecord& record : records) {
      const Bytes& bytes = record.encode();
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }
    out.close();
    if (!out) {
      std::remove(partial.c_str());
      return "cannot write the language file " + partial;
    }
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) {
    std::remove(partial.c_str());
    return "cannot rename " + partial + " to " + path + ": " + error.message();
  }
  return {};
}

}  // namespace tallymoor
