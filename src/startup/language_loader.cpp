#include "startup/language_loader.h"

namespace tallymoor {

bool loadLanguage(RecordStore& store, const std::string& name, LanguageRecord& current) {
  FileSet set(store, "LAN");
  if (!set.ok()) return false;
  RecordFile& file = store.file(FileCode::LAN);
  for (file.seek(0); !file.eof();) {
    current = LanguageRecord::decode(file.read());
    if (current.name() == name) break;
  }
  return true;
}

}  // namespace tallymoor
