#include "app/window_fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>
#include <mutex>

namespace app {

namespace {

// Wine's metric-compatible clone of Tahoma, which Debian ships without registering it with
// fontconfig; where Windows has the real font the file does not exist. Two more clones stay out:
// Wine's MS Sans Serif is 9 pixels too wide for "Select Player" beside its picture on a 97-pixel
// button, and its Tahoma Bold draws 11-pixel letters no heavier than the regular ones and, once
// loaded, is taken for regular text too; bold Tahoma is emboldened from the regular face instead.
constexpr const char* kWindowsFontClones[] = {"/usr/share/wine/fonts/tahoma.ttf"};

void LoadWindowsFontClones() {
  for (const char* path : kWindowsFontClones) {
    const QString file = QString::fromLatin1(path);
    if (QFile::exists(file)) QFontDatabase::addApplicationFont(file);
  }
}

}  // namespace

void SubstituteWindowsFonts() {
  // A family found under its own name wins over its substitutes, so these only matter where a
  // clone is missing.
  static std::once_flag clonesLoaded;
  std::call_once(clonesLoaded, LoadWindowsFontClones);
  // MS Sans Serif's small bitmap letters are narrower than Arial's; the narrow cut keeps
  // "Select Player" beside its picture on a 97-pixel button.
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             QStringList{QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Liberation Sans"),
                                         QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                             QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
  QFont::insertSubstitutions(QStringLiteral("Arial"),
                             QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

}  // namespace app
