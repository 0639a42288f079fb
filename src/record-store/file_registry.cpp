#include "record-store/file_registry.h"

#include <algorithm>

namespace tallymoor {

const std::array<FileSpec, kFileCodeCount>& fileRegistry() {
  using enum FileCode;
  using D = FileDirectory;
  using K = FileKind;
  static const std::array<FileSpec, kFileCodeCount> registry = {{
      {SYS, "SYS", "sysparm010000.vlt", 816, D::Start, K::Record, "IO errorcode: SYS"},
      {FLG, "FLG", "releaseflag.vlt", 4, D::Administration, K::Record, "IO errorcode: FLG"},
      {IFS, "IFS", "ifs.vlt", 116, D::Start, K::Record, "IO errorcode: IFS"},
      {INS, "INS", "ins.vlt", 3, D::Start, K::Record, "IO errorcode: INS"},
      {GLA, "GLA", "ledger.vlt", 376, D::Administration, K::Record, "IO errorcode: GLA"},
      {GLC, "GLC", "ledgerct.vlt", 134, D::Administration, K::Record, "IO errorcode: GLC"},
      {JVO, "JVO", "book.vlt", 392, D::Administration, K::Record, "IO errorcode: JVO"},
      {FRZ, "FRZ", "freeze.vlt", 64080, D::Administration, K::Record, "IO errorcode: frz"},
      {CUS, "CUS", "customer.vlt", 1624, D::Administration, K::Record, "IO errorcode: cus"},
      {SUP, "SUP", "supplier.vlt", 1624, D::Administration, K::Record, "IO errorcode: sup"},
      {ADM, "ADM", "admin.vlt", 275, D::BaseData, K::Record, "IO errorcode: adm"},
      {ADS, "ADS", "adminset.vlt", 1386, D::Administration, K::Record, "IO errorcode: ads"},
      {PAY, "PAY", "payment.vlt", 584, D::Administration, K::Record, "IO errorcode: pay"},
      {INV, "INV", "invsum.vlt", 224, D::Administration, K::Record, "IO errorcode: inv"},
      {JVT, "JVT", "booktemp.vlt", 3184, D::Administration, K::Record, "IO errorcode: jvt"},
      {HEN, "HEN", "", 0, D::CallerNamed, K::Text, "IO errorcode: hen"},
      {RAP, "RAP", "", 0, D::Administration, K::Text, "IO errorcode: RAP"},
      {LAN, "LAN", "vlt010005.lan", 11354, D::Start, K::Record, "IO errorcode: LAN"},
      {USE, "USE", "user.vlt", 284, D::Start, K::Record, "IO errorcode: USE"},
      {FIX, "FIX", "fixed.vlt", 256, D::Administration, K::Record, "IO errorcode: FIX"},
  }};
  return registry;
}

const FileSpec& fileSpec(FileCode code) { return fileRegistry()[static_cast<std::size_t>(code)]; }

std::optional<FileCode> fileCodeFromText(std::string_view text) {
  for (const auto& spec : fileRegistry())
    if (spec.codeText == text) return spec.code;
  return std::nullopt;
}

const std::array<FileCode, kFileCodeCount>& closingOrder() {
  static const auto order = [] {
    std::array<FileCode, kFileCodeCount> result{};
    for (std::size_t i = 0; i < kFileCodeCount; ++i)
      result[i] = static_cast<FileCode>(kFileCodeCount - 1 - i);
    return result;
  }();
  return order;
}

}  // namespace tallymoor
