#include "records/gl_account_record.h"

namespace tallymoor {

GlAccountRecord GlAccountRecord::decode(const Bytes& bytes) {
  ByteReader r(bytes);
  GlAccountRecord a;
  a.number = r.text(0, 15);
  a.caption = r.text(16, 50);
  a.type = r.text(67, 1);
  a.category = r.text(78, 50);
  a.lead = r.text(129, 50);
  a.startDate = r.text(180, 8);
  a.startAmount = r.f64(192);
  a.endDate = r.text(200, 8);
  a.carriedAmount = r.f64(216);
  a.cashBankBook = r.boolean(224);
  a.cashBankBookName = r.text(225, 50);
  a.accountDirective = r.text(276, 50);
  a.vatGroup = r.text(327, 12);
  a.user = r.text(340, 10);
  a.timestamp = r.text(351, 20);
  return a;
}

Bytes GlAccountRecord::encode() const {
  ByteWriter w(kSize);
  w.text(0, 15, number);
  w.text(16, 50, caption);
  w.text(67, 1, type);
  w.text(78, 50, category);
  w.text(129, 50, lead);
  w.text(180, 8, startDate);
  w.f64(192, startAmount);
  w.text(200, 8, endDate);
  w.f64(216, carriedAmount);
  w.boolean(224, cashBankBook);
  w.text(225, 50, cashBankBookName);
  w.text(276, 50, accountDirective);
  w.text(327, 12, vatGroup);
  w.text(340, 10, user);
  w.text(351, 20, timestamp);
  return std::move(w).bytes();
}

}  // namespace tallymoor
