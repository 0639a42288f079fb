#include "accounts/gl_category_list.h"

#include <algorithm>

namespace tallymoor {

GlCategoryRow categoryRowFromRecord(const GlCategoryRecord& record) {
  return {record.isBalanceSheet() ? CategoryKind::BalanceSheet : CategoryKind::ProfitAndLoss,
          record.name, record.user, record.timestamp};
}

const char* storedCategoryKind(CategoryKind kind) {
  return kind == CategoryKind::BalanceSheet ? kBalanceSheetKind : kProfitAndLossKind;
}

NewCategoryCheck checkNewCategory(const std::vector<GlCategoryRow>& rows, CategoryKind kind,
                                  std::string_view name) {
  if (rows.size() >= kCategoryLimit) return NewCategoryCheck::ListFull;
  const bool taken = std::any_of(rows.begin(), rows.end(), [&](const GlCategoryRow& row) {
    return row.kind == kind && row.name == name;
  });
  return taken ? NewCategoryCheck::Duplicate : NewCategoryCheck::Valid;
}

std::vector<GlCategoryRecord> categoryRecordsFromRows(const std::vector<GlCategoryRow>& rows,
                                                      std::string_view user, std::string_view now) {
  const std::string newUser(user.substr(0, kCategoryUserLength));
  const std::string newTimestamp(now.substr(0, kCategoryTimestampLength));
  std::vector<GlCategoryRecord> records;
  records.reserve(rows.size());
  for (const GlCategoryRow& row : rows) {
    GlCategoryRecord& record = records.emplace_back();
    record.kind = storedCategoryKind(row.kind);
    record.name = row.name;
    record.user = row.user.empty() ? newUser : row.user;
    record.timestamp = row.timestamp.empty() ? newTimestamp : row.timestamp;
  }
  return records;
}

}  // namespace tallymoor
