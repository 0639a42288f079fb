#include "records/admin_settings_record.h"

#include <gtest/gtest.h>

#include <string>

namespace tallymoor {
namespace {

void expectTextAt(const Bytes& bytes, std::size_t offset, const std::string& text) {
  ASSERT_LT(offset + text.size(), bytes.size());
  EXPECT_EQ(bytes[offset], text.size()) << "length byte at " << offset;
  EXPECT_EQ(std::string(bytes.begin() + offset + 1, bytes.begin() + offset + 1 + text.size()), text)
      << "text at " << offset;
}

// Every field with a text of its own, so that a field written at another's offset shows.
AdminSettingsRecord everyField() {
  AdminSettingsRecord s;
  s.reservedText = "reserved";
  s.taxRegistration = "NL001234567B01";
  s.companyName = "Acme Ltd";
  s.address = "Main street 1";
  s.zipCode = "1234 AB";
  s.town = "Springfield";
  s.state = "Utrecht";
  s.country = "Netherlands";
  s.telephone = "+31 30 1234567";
  s.fax = "+31 30 7654321";
  s.email = "books@acme.example";
  s.website = "acme.example";
  s.extraItem2 = "extra two";
  s.lastSavedStamp = "05-06-2024 07:08:09";
  s.lastSavedUser = "CLERK";
  s.extraItem1 = "extra one";
  s.companyRegistration = "KvK 12345678";
  s.profitAccountCaption = "Result";
  s.profitAccountNumber = "8000";
  s.startDate = "20080701";
  s.endDate = "20090630";
  s.fiscalYear = "2008";
  s.currencyCode = "EUR";
  s.noSalesTaxAccounts = true;
  s.periodCount = 12;
  for (int p = 0; p < AdminSettingsRecord::kMaxPeriods; ++p)
    s.periodStarts[p] = "200807" + std::to_string(10 + p);
  s.approvedYear = "0708";
  s.lastClosedPeriod = "02/12";
  s.currentYear = "0809";
  s.currentPeriod = "03/12";
  s.creator = "FOUNDER";
  s.creationStamp = "01-07-2008 09:00:00";
  s.splitJournals = "true";
  s.journalNames = {"Sales", "Purchases", "Memorial", "Shop", "Webshop", "Import"};
  s.journalTypeFlags = {"true", "false", "false", "true", "true", "false"};
  return s;
}

TEST(AdminSettingsRecord, FieldsLieAtTheirOffsets) {
  const AdminSettingsRecord s = everyField();
  const Bytes bytes = s.encode();
  ASSERT_EQ(bytes.size(), 1386u);
  expectTextAt(bytes, 0, "reserved");
  expectTextAt(bytes, 21, "NL001234567B01");
  expectTextAt(bytes, 37, "Acme Ltd");
  expectTextAt(bytes, 88, "Main street 1");
  expectTextAt(bytes, 139, "1234 AB");
  expectTextAt(bytes, 150, "Springfield");
  expectTextAt(bytes, 201, "Utrecht");
  expectTextAt(bytes, 252, "Netherlands");
  expectTextAt(bytes, 303, "+31 30 1234567");
  expectTextAt(bytes, 334, "+31 30 7654321");
  expectTextAt(bytes, 365, "books@acme.example");
  expectTextAt(bytes, 466, "acme.example");
  expectTextAt(bytes, 567, "extra two");
  expectTextAt(bytes, 618, "05-06-2024 07:08:09");
  expectTextAt(bytes, 639, "CLERK");
  expectTextAt(bytes, 650, "extra one");
  expectTextAt(bytes, 701, "KvK 12345678");
  expectTextAt(bytes, 752, "Result");
  expectTextAt(bytes, 783, "8000");
  expectTextAt(bytes, 804, "20080701");
  expectTextAt(bytes, 813, "20090630");
  expectTextAt(bytes, 822, "2008");
  expectTextAt(bytes, 827, "EUR");
  EXPECT_EQ(bytes[831], 1);
  EXPECT_EQ(bytes[832], 12);
  EXPECT_EQ(bytes[833], 0);
  for (std::size_t p = 0; p < 15; ++p) expectTextAt(bytes, 834 + 9 * p, s.periodStarts[p]);
  expectTextAt(bytes, 969, "0708");
  expectTextAt(bytes, 978, "02/12");
  expectTextAt(bytes, 987, "0809");
  expectTextAt(bytes, 996, "03/12");
  expectTextAt(bytes, 1005, "FOUNDER");
  expectTextAt(bytes, 1016, "01-07-2008 09:00:00");
  expectTextAt(bytes, 1037, "true");
  for (std::size_t j = 0; j < 6; ++j) expectTextAt(bytes, 1043 + 51 * j, s.journalNames[j]);
  for (std::size_t f = 0; f < 6; ++f) expectTextAt(bytes, 1349 + 6 * f, s.journalTypeFlags[f]);
  EXPECT_EQ(bytes[1385], 0) << "padding";
}

TEST(AdminSettingsRecord, SurvivesARoundTrip) {
  const AdminSettingsRecord s = everyField();
  const Bytes bytes = s.encode();
  EXPECT_EQ(AdminSettingsRecord::decode(bytes), s);
  EXPECT_EQ(AdminSettingsRecord::decode(bytes).encode(), bytes);
}

TEST(AdminSettingsRecord, LongerTextsAreCutToTheirFieldWidths) {
  AdminSettingsRecord s;
  s.reservedText = std::string(25, 'r');
  s.zipCode = "12345678901";
  s.currencyCode = "EURO";
  s.fiscalYear = "20081";
  s.lastSavedUser = "CHIEFACCOUNTANT";
  s.periodStarts[14] = "2008010199";
  s.journalTypeFlags[5] = "falsely";
  const AdminSettingsRecord back = AdminSettingsRecord::decode(s.encode());
  EXPECT_EQ(back.reservedText, std::string(20, 'r'));
  EXPECT_EQ(back.zipCode, "1234567890");
  EXPECT_EQ(back.currencyCode, "EUR");
  EXPECT_EQ(back.fiscalYear, "2008");
  EXPECT_EQ(back.lastSavedUser, "CHIEFACCOU");
  EXPECT_EQ(back.periodStarts[14], "20080101");
  EXPECT_EQ(back.journalTypeFlags[5], "false");
  EXPECT_EQ(back.journalNames[0], "") << "the cut text must not run into the next field";
}

TEST(AdminSettingsRecord, BytesAfterATextAreIgnoredOnReadAndZeroWhenWritten) {
  Bytes stored = AdminSettingsRecord{}.encode();
  stored[37] = 4;  // company name "Acme", then leftovers of a longer name
  for (std::size_t i = 0; i < 10; ++i) stored[38 + i] = static_cast<std::uint8_t>("Acme Corp."[i]);
  stored[1385] = 0x7F;  // padding
  const AdminSettingsRecord s = AdminSettingsRecord::decode(stored);
  EXPECT_EQ(s.companyName, "Acme");
  const Bytes written = s.encode();
  EXPECT_EQ(written[42], 0);
  EXPECT_EQ(written[1385], 0);
}

TEST(AdminSettingsRecord, APeriodCountIsASixteenBitLittleEndianInteger) {
  Bytes stored = AdminSettingsRecord{}.encode();
  stored[832] = 0x0F;
  stored[833] = 0x00;
  EXPECT_EQ(AdminSettingsRecord::decode(stored).periodCount, 15);
  stored[832] = 0x00;
  stored[833] = 0x01;
  EXPECT_EQ(AdminSettingsRecord::decode(stored).periodCount, 256);
}

}  // namespace
}  // namespace tallymoor
