// F10 while another export (a scheduled saldex-export --export, another
// clerk's F10) holds the Saldex 2 directory.

#include <QTest>

#include "accounting/exporter_lock.h"
#include "dbf/process_test_support.h"
#include "main_window_fixture.h"

namespace app_testing {
namespace {

TEST_F(MainWindowTest, F10WhileAnotherExportRunsSaysSoAndWritesNothing) {
  RecordingMainWindow& w = Window();
  const std::string receivables = layout_.export_dir + "KPOHLED.DBF";
  dbf::testing::ChildProcess other_export(
      [receivables](const dbf::testing::ChildProcess::Channel& channel) {
        accounting::ExporterLock lock;
        if (!lock.TryAcquire(receivables)) return 1;
        channel.Send('L');
        channel.Receive();
        return 0;
      });
  ASSERT_EQ(other_export.Receive(), 'L');
  const auto receivables_before = ucto_.Pohledavky.RecordCount();
  op_.messages.clear();

  w.DBGrid1()->setFocus();
  QTest::keyClick(w.windowHandle(), Qt::Key_F10);
  // The other exporter ends before anything here can return early.
  other_export.Send('x');
  EXPECT_EQ(other_export.Wait(), 0);

  ASSERT_EQ(op_.messages.size(), 2u);
  EXPECT_EQ(op_.messages[0].text, "POZOR - Saldex 2 nesmí být spuštěn !!!");
  EXPECT_EQ(op_.messages[1].text.rfind("Export již probíhá", 0), 0u) << op_.messages[1].text;
  EXPECT_EQ(ucto_.Pohledavky.RecordCount(), receivables_before);
  EXPECT_FALSE(ucto_.Ciselnik.active());

  // Once it has ended, F10 exports.
  op_.messages.clear();
  QTest::keyClick(w.windowHandle(), Qt::Key_F10);
  ASSERT_FALSE(op_.messages.empty());
  EXPECT_EQ(op_.messages.back().text, "POZOR - V Saldex2 proveďte indexaci a doplnění pečetí !!!");
  ucto_.Pohledavky.Last();
  EXPECT_GT(ucto_.Pohledavky.RecordCount(), receivables_before);
}

}  // namespace
}  // namespace app_testing
