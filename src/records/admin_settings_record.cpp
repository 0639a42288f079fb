#include "records/admin_settings_record.h"

namespace tallymoor {
namespace {

constexpr std::size_t kPeriodStartsOffset = 834;
constexpr std::size_t kPeriodSlotWidth = 9;
constexpr std::size_t kJournalNamesOffset = 1043;
constexpr std::size_t kJournalNameWidth = 51;
constexpr std::size_t kJournalTypeFlagsOffset = 1349;
constexpr std::size_t kJournalTypeFlagWidth = 6;

std::size_t periodSlot(std::size_t index) { return kPeriodStartsOffset + kPeriodSlotWidth * index; }
std::size_t journalName(std::size_t index) {
  return kJournalNamesOffset + kJournalNameWidth * index;
}
std::size_t journalTypeFlag(std::size_t index) {
  return kJournalTypeFlagsOffset + kJournalTypeFlagWidth * index;
}

}  // namespace

AdminSettingsRecord AdminSettingsRecord::decode(const Bytes& bytes) {
  ByteReader r(bytes);
  AdminSettingsRecord s;
  s.reservedText = r.text(0, 20);
  s.taxRegistration = r.text(21, 15);
  s.companyName = r.text(37, 50);
  s.address = r.text(88, 50);
  s.zipCode = r.text(139, 10);
  s.town = r.text(150, 50);
  s.state = r.text(201, 50);
  s.country = r.text(252, 50);
  s.telephone = r.text(303, 30);
  s.fax = r.text(334, 30);
  s.email = r.text(365, 100);
  s.website = r.text(466, 100);
  s.extraItem2 = r.text(567, 50);
  s.lastSavedStamp = r.text(618, 20);
  s.lastSavedUser = r.text(639, 10);
  s.extraItem1 = r.text(650, 50);
  s.companyRegistration = r.text(701, 50);
  s.profitAccountCaption = r.text(752, 30);
  s.profitAccountNumber = r.text(783, 20);
  s.startDate = r.text(804, 8);
  s.endDate = r.text(813, 8);
  s.fiscalYear = r.text(822, 4);
  s.currencyCode = r.text(827, 3);
  s.noSalesTaxAccounts = r.boolean(831);
  s.periodCount = r.i16(832);
  for (std::size_t p = 0; p < s.periodStarts.size(); ++p)
    s.periodStarts[p] = r.text(periodSlot(p), 8);
  s.approvedYear = r.text(969, 8);
  s.lastClosedPeriod = r.text(978, 8);
  s.currentYear = r.text(987, 8);
  s.currentPeriod = r.text(996, 8);
  s.creator = r.text(1005, 10);
  s.creationStamp = r.text(1016, 20);
  s.splitJournals = r.text(1037, 5);
  for (std::size_t j = 0; j < s.journalNames.size(); ++j)
    s.journalNames[j] = r.text(journalName(j), 50);
  for (std::size_t f = 0; f < s.journalTypeFlags.size(); ++f)
    s.journalTypeFlags[f] = r.text(journalTypeFlag(f), 5);
  return s;
}

Bytes AdminSettingsRecord::encode() const {
  ByteWriter w(kSize);
  w.text(0, 20, reservedText);
  w.text(21, 15, taxRegistration);
  w.text(37, 50, companyName);
  w.text(88, 50, address);
  w.text(139, 10, zipCode);
  w.text(150, 50, town);
  w.text(201, 50, state);
  w.text(252, 50, country);
  w.text(303, 30, telephone);
  w.text(334, 30, fax);
  w.text(365, 100, email);
  w.text(466, 100, website);
  w.text(567, 50, extraItem2);
  w.text(618, 20, lastSavedStamp);
  w.text(639, 10, lastSavedUser);
  w.text(650, 50, extraItem1);
  w.text(701, 50, companyRegistration);
  w.text(752, 30, profitAccountCaption);
  w.text(783, 20, profitAccountNumber);
  w.text(804, 8, startDate);
  w.text(813, 8, endDate);
  w.text(822, 4, fiscalYear);
  w.text(827, 3, currencyCode);
  w.boolean(831, noSalesTaxAccounts);
  w.i16(832, periodCount);
  for (std::size_t p = 0; p < periodStarts.size(); ++p) w.text(periodSlot(p), 8, periodStarts[p]);
  w.text(969, 8, approvedYear);
  w.text(978, 8, lastClosedPeriod);
  w.text(987, 8, currentYear);
  w.text(996, 8, currentPeriod);
  w.text(1005, 10, creator);
  w.text(1016, 20, creationStamp);
  w.text(1037, 5, splitJournals);
  for (std::size_t j = 0; j < journalNames.size(); ++j) w.text(journalName(j), 50, journalNames[j]);
  for (std::size_t f = 0; f < journalTypeFlags.size(); ++f)
    w.text(journalTypeFlag(f), 5, journalTypeFlags[f]);
  return std::move(w).bytes();
}

}  // namespace tallymoor
