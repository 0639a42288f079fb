#pragma once
// One user of the installation in "user.vlt".

#include <cstdint>
#include <string>

#include "records/byte_codec.h"

namespace tallymoor {

struct UserRecord {
  static constexpr std::size_t kSize = 284;

  std::string userId;              // string[10], upper case, the key
  std::string userName;            // string[30]
  char enduser = 'N';              // right 1: 'Y' or 'N'
  char enduserManager = 'N';       // right 2
  char systemAdministrator = 'N';  // right 3
  std::string memo;                // string[200]
  std::string creator;             // string[10]
  std::string stamp;               // string[20], input of the password digest
  std::int32_t digest = 0;

  static UserRecord decode(const Bytes& bytes);
  Bytes encode() const;
};

}  // namespace tallymoor
