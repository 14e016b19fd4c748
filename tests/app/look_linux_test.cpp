// The window's texts in the fonts this system maps the designed ones to: Wine's metric-compatible
// Tahoma where Debian's fonts-wine is installed, Liberation Sans for MS Sans Serif (Windows has the
// real ones).
#include "app/main_window.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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
  TMainWin w(services, services, services.System());
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

// Whole-pixel letters in too narrow a face run words together ("nota valid vi deo"): every blank
// of the text must leave a gap wider than any between two letters, and only the blanks may. Where
// MS Sans Serif stands in by this system's faces (Windows draws its own).
TEST(WarningLine, KeepsAGapForEveryBlankAndNoneInsideWords) {
  TempDir disc;
  disc.Write("x.avi", "this is no video");
  testsupport::ScopedChdir in(disc.path());
  testsupport::FakeServices services;
  services.launcherDirectory = disc.path() + "/";
  TMainWin w(services, services, services.System());
  w.FormCreate();
  ClickLabel* warning = w.lblNotAvi;
  const QImage shot = warning->grab().toImage();
  std::vector<bool> inked(static_cast<size_t>(shot.width()), false);
  for (int x = 0; x < shot.width(); ++x)
    for (int y = 0; y < shot.height(); ++y)
      if (qRed(shot.pixel(x, y)) == 255 && qGreen(shot.pixel(x, y)) == 0) inked[static_cast<size_t>(x)] = true;
  const auto first = std::find(inked.begin(), inked.end(), true);
  const auto last = std::find(inked.rbegin(), inked.rend(), true).base();
  ASSERT_LT(first, last);
  int wideGaps = 0, run = 0;
  for (auto it = first; it != last; ++it) {
    if (!*it) {
      ++run;
      continue;
    }
    wideGaps += run >= 3;
    run = 0;
  }
  EXPECT_EQ(wideGaps, static_cast<int>(warning->text().count(QLatin1Char(' ')))) << warning->text().toStdString();
}

}  // namespace
}  // namespace app
