#include "accounts/gl_category_file.h"

#include <algorithm>
#include <optional>

#include "accounts/gl_account_file.h"

namespace tallymoor {

CategoryList loadCategories(RecordStore& store) {
  CategoryList result;
  // The main menu opens the set before it shows the form; the load takes it over.
  std::optional<FileSet> set;
  if (store.isSetOpen())
    set.emplace(store, FileSet::Adopt{});
  else
    set.emplace(store, kCategoryFileSet);
  if (!set->ok()) {
    result.opened = false;
    result.message = store.openFailureMessage();
    return result;
  }
  const std::vector<Bytes> records = store.file(FileCode::GLC).readAll();
  result.rows.reserve(records.size());
  for (const Bytes& bytes : records)
    result.rows.push_back(categoryRowFromRecord(GlCategoryRecord::decode(bytes)));
  return result;
}

CategoryFileOutcome saveCategories(RecordStore& store, const std::vector<GlCategoryRow>& rows,
                                   std::string_view user, std::string_view now) {
  std::vector<Bytes> records;
  records.reserve(rows.size());
  for (const GlCategoryRecord& record : categoryRecordsFromRows(rows, user, now))
    records.push_back(record.encode());

  CategoryFileOutcome result;
  FileSet set(store, kCategoryFileSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.openFailureMessage();
    return result;
  }
  store.file(FileCode::GLC).rewriteAll(records);
  return result;
}

CategoryUse findCategoryUse(RecordStore& store, std::string_view name) {
  CategoryUse result;
  if (name.empty()) return result;
  AccountList list = readAllAccounts(store);
  if (!list.opened) {
    result.opened = false;
    result.message = std::move(list.message);
    return result;
  }
  result.inUse =
      std::any_of(list.accounts.begin(), list.accounts.end(),
                  [&](const GlAccountRecord& account) { return account.category == name; });
  return result;
}

}  // namespace tallymoor
