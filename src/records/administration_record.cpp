#include "records/administration_record.h"

namespace tallymoor {

AdministrationRecord AdministrationRecord::decode(const Bytes& bytes) {
  ByteReader r(bytes);
  return {r.text(0, 10), r.text(11, 30), r.text(42, 200), r.text(243, 10), r.text(254, 20)};
}

Bytes AdministrationRecord::encode() const {
  ByteWriter w(kSize);
  w.text(0, 10, code);
  w.text(11, 30, name);
  w.text(42, 200, memo);
  w.text(243, 10, creator);
  w.text(254, 20, creationStamp);
  return std::move(w).bytes();
}

}  // namespace tallymoor
