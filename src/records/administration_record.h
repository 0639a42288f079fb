#pragma once
// One administration (one company's books) in "admin.vlt".

#include <string>

#include "records/byte_codec.h"

namespace tallymoor {

struct AdministrationRecord {
  static constexpr std::size_t kSize = 275;

  std::string code;           // string[10], also the name of its directory
  std::string name;           // string[30]
  std::string memo;           // string[200]
  std::string creator;        // string[10]
  std::string creationStamp;  // string[20]

  static AdministrationRecord decode(const Bytes& bytes);
  Bytes encode() const;
};

}  // namespace tallymoor
