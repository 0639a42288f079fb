#include "records/system_parameters_record.h"

namespace tallymoor {
namespace {
// Name and rate offsets of the two tax groups: the name is a string[12], the rate a double.
constexpr std::size_t kTaxGroup1[3][2] = {{421, 440}, {448, 464}, {472, 488}};
constexpr std::size_t kTaxGroup2[3][2] = {{496, 512}, {520, 536}, {544, 560}};
}  // namespace

SystemParametersRecord SystemParametersRecord::decode(const Bytes& bytes) {
  ByteReader r(bytes);
  SystemParametersRecord s;
  s.reserved0 = r.raw(0, 9);
  s.address = r.text(9, 30);
  s.zipCode = r.text(40, 15);
  s.town = r.text(56, 30);
  s.region = r.text(87, 30);
  s.country = r.text(118, 30);
  s.telephone = r.text(149, 20);
  s.fax = r.text(170, 20);
  s.email = r.text(191, 30);
  s.website = r.text(222, 50);
  s.reserved273 = r.raw(273, 61);
  s.reserved334 = r.raw(334, 31);
  s.savedAt = r.text(365, 20);
  s.savedBy = r.text(386, 10);
  s.languageName = r.text(397, 20);
  s.userIdentification = r.boolean(418);
  s.passwordProtection = r.boolean(419);
  s.authorisationLevels = r.boolean(420);
  for (int i = 0; i < 3; ++i) {
    s.taxGroup1[i] = {r.text(kTaxGroup1[i][0], 12), r.f64(kTaxGroup1[i][1])};
    s.taxGroup2[i] = {r.text(kTaxGroup2[i][0], 12), r.f64(kTaxGroup2[i][1])};
  }
  s.buyerName = r.text(568, 100);
  s.directory = r.text(669, 100);
  s.decimals = r.i16(772);
  s.currencySymbol = r.character(774);
  s.tipsAndNews = r.text(775, 1);
  s.newsDate = r.text(777, 8);
  s.amountFormat = r.character(787);
  s.reserved788 = r.raw(788, 6);
  s.lastLogin = r.text(794, 20);
  return s;
}

Bytes SystemParametersRecord::encode() const {
  ByteWriter w(kSize);
  w.raw(0, reserved0);
  w.text(9, 30, address);
  w.text(40, 15, zipCode);
  w.text(56, 30, town);
  w.text(87, 30, region);
  w.text(118, 30, country);
  w.text(149, 20, telephone);
  w.text(170, 20, fax);
  w.text(191, 30, email);
  w.text(222, 50, website);
  w.raw(273, reserved273);
  w.raw(334, reserved334);
  w.text(365, 20, savedAt);
  w.text(386, 10, savedBy);
  w.text(397, 20, languageName);
  w.boolean(418, userIdentification);
  w.boolean(419, passwordProtection);
  w.boolean(420, authorisationLevels);
  for (int i = 0; i < 3; ++i) {
    w.text(kTaxGroup1[i][0], 12, taxGroup1[i].name);
    w.f64(kTaxGroup1[i][1], taxGroup1[i].rate);
    w.text(kTaxGroup2[i][0], 12, taxGroup2[i].name);
    w.f64(kTaxGroup2[i][1], taxGroup2[i].rate);
  }
  w.text(568, 100, buyerName);
  w.text(669, 100, directory);
  w.i16(772, decimals);
  w.character(774, currencySymbol);
  w.text(775, 1, tipsAndNews);
  w.text(777, 8, newsDate);
  w.character(787, amountFormat);
  w.raw(788, reserved788);
  w.text(794, 20, lastLogin);
  return std::move(w).bytes();
}

}  // namespace tallymoor
