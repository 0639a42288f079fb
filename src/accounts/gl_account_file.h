#pragma once
// The GL account file "ledger.vlt", the chart of accounts of one administration: read
// whole by every routine that needs accounts, and written whole by the account form and
// the import.

#include <string>
#include <vector>

#include "record-store/record_store.h"
#include "records/gl_account_record.h"

namespace tallymoor {

inline constexpr const char* kAccountFileSet = "GLA";

// How a routine that opens "GLA" ended. When the open failed, `message` holds the record
// store's text, two blanks and the system's text, and nothing was read or written.
struct AccountFileOutcome {
  bool opened = true;
  std::string message;
};

struct AccountList : AccountFileOutcome {
  std::vector<GlAccountRecord> accounts;  // in file order
};

// Every account from the first, in one block read; opens and closes "GLA" (inside an open
// set it only nests and reads that set's file).
[[nodiscard]] AccountList readAllAccounts(RecordStore& store);

// Replaces the file by `accounts` in their order: every record is built first, then one
// block write, then the cut, so a failed write never leaves the file empty. Opens and
// closes "GLA" as above. Writes what it is given; checkAccountInvariants says whether
// that is a valid chart.
[[nodiscard]] AccountFileOutcome rewriteAllAccounts(RecordStore& store,
                                                    const std::vector<GlAccountRecord>& accounts);

}  // namespace tallymoor
