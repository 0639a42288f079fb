#include "accounts/gl_account_file.h"

namespace tallymoor {

AccountList readAllAccounts(RecordStore& store) {
  AccountList result;
  FileSet set(store, kAccountFileSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.openFailureMessage();
    return result;
  }
  const std::vector<Bytes> records = store.file(FileCode::GLA).readAll();
  result.accounts.reserve(records.size());
  for (const Bytes& bytes : records) result.accounts.push_back(GlAccountRecord::decode(bytes));
  return result;
}

AccountFileOutcome rewriteAllAccounts(RecordStore& store,
                                      const std::vector<GlAccountRecord>& accounts) {
  std::vector<Bytes> records;
  records.reserve(accounts.size());
  for (const GlAccountRecord& account : accounts) records.push_back(account.encode());

  AccountFileOutcome result;
  FileSet set(store, kAccountFileSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.openFailureMessage();
    return result;
  }
  store.file(FileCode::GLA).rewriteAll(records);
  return result;
}

}  // namespace tallymoor
