#include "records/user_record.h"

namespace tallymoor {

UserRecord UserRecord::decode(const Bytes& bytes) {
  ByteReader r(bytes);
  UserRecord u;
  u.userId = r.text(0, 10);
  u.userName = r.text(11, 30);
  u.enduser = r.character(42);
  u.enduserManager = r.character(43);
  u.systemAdministrator = r.character(44);
  u.memo = r.text(45, 200);
  u.creator = r.text(246, 10);
  u.stamp = r.text(257, 20);
  u.digest = r.i32(280);
  return u;
}

Bytes UserRecord::encode() const {
  ByteWriter w(kSize);
  w.text(0, 10, userId);
  w.text(11, 30, userName);
  w.character(42, enduser);
  w.character(43, enduserManager);
  w.character(44, systemAdministrator);
  w.text(45, 200, memo);
  w.text(246, 10, creator);
  w.text(257, 20, stamp);
  w.i32(280, digest);
  return std::move(w).bytes();
}

}  // namespace tallymoor
