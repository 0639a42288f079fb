#include <gtest/gtest.h>

#include "records/administration_record.h"
#include "records/gl_account_record.h"
#include "records/installation_language_record.h"
#include "records/language_record.h"
#include "records/system_parameters_record.h"
#include "records/user_record.h"

namespace tallymoor {
namespace {

// A text field as it must stand in the record: length byte, then the characters.
void expectTextAt(const Bytes& bytes, std::size_t offset, const std::string& text) {
  ASSERT_LT(offset + text.size(), bytes.size());
  EXPECT_EQ(bytes[offset], text.size()) << "length byte at " << offset;
  EXPECT_EQ(std::string(bytes.begin() + offset + 1, bytes.begin() + offset + 1 + text.size()), text)
      << "text at " << offset;
}

TEST(SystemParametersRecord, FieldsLieAtTheirOffsets) {
  SystemParametersRecord s;
  s.address = "Main street 1";
  s.website = "example.org";
  s.languageName = "English";
  s.userIdentification = true;
  s.taxGroup2[2] = {"High", 21.0};
  s.buyerName = "Buyer";
  s.directory = "/home/u/data/";
  s.decimals = 3;
  s.currencySymbol = '\x80';
  s.tipsAndNews = "T";
  s.newsDate = "20080101";
  s.amountFormat = 'T';
  s.lastLogin = "SYSTEM";
  Bytes bytes = s.encode();
  ASSERT_EQ(bytes.size(), SystemParametersRecord::kSize);
  expectTextAt(bytes, 9, "Main street 1");
  expectTextAt(bytes, 222, "example.org");
  expectTextAt(bytes, 397, "English");
  EXPECT_EQ(bytes[418], 1);
  expectTextAt(bytes, 544, "High");
  EXPECT_EQ(ByteReader(bytes).f64(560), 21.0);
  expectTextAt(bytes, 568, "Buyer");
  expectTextAt(bytes, 669, "/home/u/data/");
  EXPECT_EQ(bytes[772], 3);
  EXPECT_EQ(bytes[774], 0x80);
  expectTextAt(bytes, 775, "T");
  expectTextAt(bytes, 777, "20080101");
  EXPECT_EQ(bytes[787], 'T');
  expectTextAt(bytes, 794, "SYSTEM");
}

TEST(SystemParametersRecord, ReservedBytesAreWrittenBackExactlyAsRead) {
  Bytes stored(SystemParametersRecord::kSize, 0);
  for (std::size_t i = 0; i < 9; ++i) stored[i] = static_cast<std::uint8_t>(0xA0 + i);
  for (std::size_t i = 273; i < 365; ++i) stored[i] = static_cast<std::uint8_t>(i);
  for (std::size_t i = 788; i < 794; ++i) stored[i] = 0x55;
  stored[669] = 3;
  stored[670] = 'a';
  stored[671] = 'b';
  stored[672] = 'c';
  EXPECT_EQ(SystemParametersRecord::decode(stored).encode(), stored);
}

TEST(RecordLayouts, EveryRecordSurvivesARoundTrip) {
  UserRecord u{"SYSTEM", "System user",         'Y',    'N', 'Y', "memo",
               "SYSTEM", "05-03-2008 10:11:12", -123456};
  Bytes ub = u.encode();
  ASSERT_EQ(ub.size(), UserRecord::kSize);
  expectTextAt(ub, 257, "05-03-2008 10:11:12");
  EXPECT_EQ(ByteReader(ub).i32(280), -123456);
  UserRecord u2 = UserRecord::decode(ub);
  EXPECT_EQ(u2.userId, "SYSTEM");
  EXPECT_EQ(u2.enduserManager, 'N');
  EXPECT_EQ(u2.digest, -123456);
  EXPECT_EQ(u2.encode(), ub);

  AdministrationRecord a{"ACME", "Acme Ltd", "memo", "SYSTEM", "01-01-2008 00:00:00"};
  Bytes ab = a.encode();
  ASSERT_EQ(ab.size(), AdministrationRecord::kSize);
  expectTextAt(ab, 254, "01-01-2008 00:00:00");
  EXPECT_EQ(AdministrationRecord::decode(ab).encode(), ab);

  Bytes ib = InstallationLanguageRecord{"NL"}.encode();
  EXPECT_EQ(ib, (Bytes{2, 'N', 'L'}));
  EXPECT_EQ(InstallationLanguageRecord::decode(ib).code, "NL");
}

TEST(GlAccountRecord, FieldsLieAtTheirOffsetsAndReservedBytesStayZero) {
  GlAccountRecord a;
  a.number = "1000";
  a.caption = "Cash";
  a.type = "D";
  a.category = "Current assets";
  a.startDate = "20080101";
  a.startAmount = 12.5;
  a.carriedAmount = 3;
  a.cashBankBook = true;
  a.accountDirective = "Customer group";
  a.vatGroup = "High";
  a.timestamp = "01-01-2008 10:00:00";
  Bytes bytes = a.encode();
  ASSERT_EQ(bytes.size(), GlAccountRecord::kSize);
  expectTextAt(bytes, 0, "1000");
  expectTextAt(bytes, 67, "D");
  expectTextAt(bytes, 78, "Current assets");
  expectTextAt(bytes, 200, "20501231");
  EXPECT_EQ(ByteReader(bytes).f64(192), 12.5);
  EXPECT_EQ(ByteReader(bytes).f64(216), 3.0);
  EXPECT_EQ(bytes[224], 1);
  expectTextAt(bytes, 276, "Customer group");
  expectTextAt(bytes, 351, "01-01-2008 10:00:00");
  for (std::size_t reserved : {69u, 77u, 189u, 191u, 209u, 215u, 372u, 375u})
    EXPECT_EQ(bytes[reserved], 0) << "byte " << reserved;

  struct Case {
    const char* stored;
    char letter;
  };
  for (const Case& c : {Case{"P", 'P'}, Case{"T", 'T'}, Case{"D", 'D'}, Case{"C", 'C'},
                        Case{"X", 'C'}, Case{"", 'C'}, Case{"p", 'C'}}) {
    a.type = c.stored;
    EXPECT_EQ(GlAccountRecord::decode(a.encode()).typeLetter(), c.letter) << c.stored;
  }
}

TEST(LanguageRecord, TextsAreReadAtTheirOffsetWithinTheRecord) {
  Bytes bytes(LanguageRecord::kSize, 0);
  ByteWriter w(LanguageRecord::kSize);
  w.text(0, 20, "Nederlands");
  w.text(446, 6, "Ja");
  // The last byte of the record claims a long text: nothing beyond the record is read.
  w.u8(LanguageRecord::kSize - 2, 200);
  w.u8(LanguageRecord::kSize - 1, 'x');
  LanguageRecord record = LanguageRecord::decode(w.bytes());
  EXPECT_EQ(record.name(), "Nederlands");
  EXPECT_EQ(record.textAt(446), "Ja");
  EXPECT_EQ(record.textAt(LanguageRecord::kSize - 2), "x");
  EXPECT_EQ(record.textAt(LanguageRecord::kSize), "");
  EXPECT_EQ(LanguageRecord().name(), "");
}

}  // namespace
}  // namespace tallymoor
