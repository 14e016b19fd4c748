// The text panel in the fonts this system maps the designed ones to: Wine's metric-compatible
// Tahoma where Debian's fonts-wine is installed (Windows has the real one).
#include "app/main_window.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <gtest/gtest.h>

#include "support/avi_bytes.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::TempDir;

// The report's separator is 26 signs; in a face much wider than Tahoma it wraps at the design size.
TEST(TextPanel, TheReportSeparatorFitsOnOneLineAtTheDesignSize) {
  TempDir disc;
  disc.Write("Film.avi", testsupport::AviBytes());
  disc.Write("vplayer.exe");
  testsupport::ScopedChdir in(disc.path());
  testsupport::FakeServices services;
  services.launcherDirectory = disc.path() + "/";
  TMainWin w(services);
  w.FormCreate();
  w.show();
  w.dxInfoClick();
  ASSERT_NE(w.memoNFO, nullptr);
  QTextDocument* document = w.memoNFO->document();
  document->documentLayout()->documentSize();  // lays the document out
  bool found = false;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    if (block.text() != QString(26, QLatin1Char('='))) continue;
    found = true;
    EXPECT_EQ(block.layout()->lineCount(), 1);
  }
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace app
