// Build step: writes the language file "vlt010005.lan" from the readable table of texts.
// Usage: make_language_file <language_texts.tsv> <vlt010005.lan>
// A table with any fault writes nothing and ends with exit code 1 and one message per fault.

#include <iostream>

#include "tools/language_file.h"
#include "tools/language_table.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_language_file <language_texts.tsv> <vlt010005.lan>\n";
    return 2;
  }
  tallymoor::LanguageTable table = tallymoor::readLanguageTable(argv[1]);
  if (!table.ok()) {
    for (const std::string& error : table.errors) std::cerr << argv[1] << ": " << error << '\n';
    std::cerr << argv[1] << ": " << table.errors.size() << " fault(s); " << argv[2]
              << " not written\n";
    return 1;
  }
  std::string error = tallymoor::writeLanguageFile(argv[2], tallymoor::buildLanguageRecords(table));
  if (!error.empty()) {
    std::cerr << error << '\n';
    return 1;
  }
  return 0;
}
