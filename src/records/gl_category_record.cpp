#include "records/gl_category_record.h"

namespace tallymoor {

GlCategoryRecord GlCategoryRecord::decode(const Bytes& bytes) {
  ByteReader r(bytes);
  GlCategoryRecord c;
  c.kind = r.text(0, 50);
  c.name = r.text(51, 50);
  c.user = r.text(102, 10);
  c.timestamp = r.text(113, 20);
  return c;
}

Bytes GlCategoryRecord::encode() const {
  ByteWriter w(kSize);
  w.text(0, 50, kind);
  w.text(51, 50, name);
  w.text(102, 10, user);
  w.text(113, 20, timestamp);
  return std::move(w).bytes();
}

}  // namespace tallymoor
