#pragma once
// The GL category list as its maintenance form edits it: one row per category in file
// order (the order of the financial reports), each of one of two kinds. The pair of kind
// and name is unique; the same name may stand once under each kind.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "records/gl_category_record.h"

namespace tallymoor {

inline constexpr std::size_t kCategoryLimit = 150;
// From this many categories on, every add reminds of the limit.
inline constexpr std::size_t kCategoryReminderCount = 75;
inline constexpr std::size_t kCategoryNameLength = 50;
inline constexpr std::size_t kCategoryUserLength = 10;
inline constexpr std::size_t kCategoryTimestampLength = 20;

enum class CategoryKind { BalanceSheet, ProfitAndLoss };

// One line of the list. A category added since the load has no user and no timestamp: the
// save stamps it.
struct GlCategoryRow {
  CategoryKind kind = CategoryKind::BalanceSheet;
  std::string name;
  std::string user;
  std::string timestamp;

  bool operator==(const GlCategoryRow&) const = default;
};

// A stored kind other than the balance-sheet text is profit and loss.
GlCategoryRow categoryRowFromRecord(const GlCategoryRecord& record);

// The English text that the file holds for a kind.
const char* storedCategoryKind(CategoryKind kind);

enum class NewCategoryCheck { Valid, ListFull, Duplicate };

// Whether a category of `kind` named `name` can join `rows`: not when the list holds the
// limit already, nor when a row has the same kind and exactly the same name.
NewCategoryCheck checkNewCategory(const std::vector<GlCategoryRow>& rows, CategoryKind kind,
                                  std::string_view name);

// The records that the list stands for, in list order. A row without a user gets `user`
// (cut to 10), a row without a timestamp gets `now` (cut to 20); the others keep theirs.
std::vector<GlCategoryRecord> categoryRecordsFromRows(const std::vector<GlCategoryRow>& rows,
                                                      std::string_view user, std::string_view now);

}  // namespace tallymoor
