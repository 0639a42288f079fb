#pragma once
// The GL category file "ledgerct.vlt": loaded whole into the maintenance list, written
// back whole from it, and the test whether any GL account names a category.

#include <string>
#include <string_view>
#include <vector>

#include "accounts/gl_category_list.h"
#include "record-store/record_store.h"

namespace tallymoor {

inline constexpr const char* kCategoryFileSet = "GLC";
// The set of taking a category out of the list: the list's file and the accounts that
// may name it.
inline constexpr const char* kCategorySelectSet = "GLA;GLC";

// How a routine that opens its own set ended. When the open failed, `message` holds the
// record store's text, two blanks and the system's text, and nothing was read or written.
struct CategoryFileOutcome {
  bool opened = true;
  std::string message;
};

struct CategoryList : CategoryFileOutcome {
  std::vector<GlCategoryRow> rows;  // in file order
};

// Reads every category. A set handed over by the caller (already open) is taken over and
// closed; without one, "GLC" is opened and closed here.
[[nodiscard]] CategoryList loadCategories(RecordStore& store);

// Replaces the category file by the list (opens and closes "GLC"): every record is built
// first, stamped as categoryRecordsFromRows does, then written in one block before the
// file is cut.
[[nodiscard]] CategoryFileOutcome saveCategories(RecordStore& store,
                                                 const std::vector<GlCategoryRow>& rows,
                                                 std::string_view user, std::string_view now);

struct CategoryUse : CategoryFileOutcome {
  bool inUse = false;
};

// Whether any GL account's category is exactly `name` (case-sensitive, untrimmed). An
// empty name is never in use: it is no category. Reads "GLA" (nested inside an open set).
[[nodiscard]] CategoryUse findCategoryUse(RecordStore& store, std::string_view name);

}  // namespace tallymoor
