#include "startup/session.h"

namespace tallymoor {

namespace {
Session& instance() {
  static Session current;
  return current;
}
}  // namespace

Session& session() { return instance(); }

void resetSession() { instance() = Session{}; }

}  // namespace tallymoor
