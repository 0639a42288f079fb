// A whole first session of a new installation, through the forms as a person uses them.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <filesystem>

#include "platform/record_text.h"
#include "record-store/record_store.h"
#include "records/admin_settings_record.h"
#include "startup/forms/start_screen_form.h"
#include "startup/session.h"
#include "support/program_harness.h"

namespace tallymoor {
namespace {

using testing::ProgramHarness;

TEST(FreshInstallation, SettingsThenLoginThenANewAdministrationWithItsFilesAndDefaults) {
  ProgramHarness harness;
  harness.installShippedFiles();
  harness.start();  // the settings asked for first are saved as offered
  auto* start = static_cast<StartScreenForm*>(harness.program().mainForm());
  ASSERT_TRUE(start->isVisible());

  // SYSTEM with the default password, no administration yet.
  harness.run("TStartscherm", "Button1Click");
  ASSERT_EQ(session().administrationCode, "");
  auto text = [](int offset) { return fromRecordText(session().text(offset)); };

  // Add an administration through the menu.
  ASSERT_TRUE(start->selectMenuEntry(text(1058)));
  harness.run("TStartscherm", "TreeView1DblClick");
  ASSERT_TRUE(harness.form("TAdministrations")->isVisible());
  harness.control<QLineEdit>("TAdministrations", "Edit1")->setText("ACME");
  harness.control<QLineEdit>("TAdministrations", "Edit2")->setText("Acme Trading");
  harness.run("TAdministrations", "Image3Click");
  harness.run("TAdministrations", "SaveExecute");
  ASSERT_FALSE(harness.form("TAdministrations")->isVisible()) << "saving closes the form";
  EXPECT_TRUE(std::filesystem::is_directory(harness.path("data/ACME")));

  // Back on the start screen only the administration is asked for.
  auto* choice = harness.control<QComboBox>("TStartscherm", "ComboBox1");
  ASSERT_NE(choice->findText("Acme Trading"), -1);
  choice->setEditText("Acme Trading");
  harness.run("TStartscherm", "Button1Click");
  EXPECT_EQ(session().administrationCode, "ACME");
  EXPECT_TRUE(harness.desktop().messages.isEmpty())
      << harness.desktop().messages.join("\n").toStdString();

  for (const char* name :
       {"adminset.vlt", "releaseflag.vlt", "invsum.vlt", "payment.vlt", "customer.vlt",
        "supplier.vlt", "book.vlt", "ledger.vlt", "ledgerct.vlt", "freeze.vlt"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(std::filesystem::exists(harness.path(std::string("data/ACME/") + name)));
  }
  std::string bytes = testing::readFile(harness.path("data/ACME/adminset.vlt"));
  ASSERT_EQ(bytes.size(), AdminSettingsRecord::kSize);
  AdminSettingsRecord settings = AdminSettingsRecord::decode(Bytes(bytes.begin(), bytes.end()));
  EXPECT_EQ(settings.startDate, "20080101");
  EXPECT_EQ(settings.endDate, "20081231");
  EXPECT_EQ(settings.periodCount, 1);
  EXPECT_EQ(settings.periodStarts[0], "20080101");
  EXPECT_EQ(settings.currencyCode, "EUR");
  EXPECT_EQ(settings.currentYear, "2008");
  EXPECT_EQ(settings.currentPeriod, "00/00");
  EXPECT_EQ(std::filesystem::file_size(harness.path("data/ACME/ledger.vlt")), 0u);
  EXPECT_FALSE(recordStore().isSetOpen());
}

}  // namespace
}  // namespace tallymoor
