// The static Qt is built without Direct2D, which also leaves Qt's DirectWrite font database out
// of QtGui, yet its Windows platform plugin still names that database's constructor (for the
// "fontengine=directwrite" platform option only). This definition lets the programs link; the
// option then ends the program with a message instead of running a font database that is not
// there. The default GDI font database and the FreeType one are unaffected.
#include <QtGlobal>

class QWindowsDirectWriteFontDatabase {
 public:
  QWindowsDirectWriteFontDatabase();
};

QWindowsDirectWriteFontDatabase::QWindowsDirectWriteFontDatabase() {
  qFatal("This build has no DirectWrite font engine; leave out the fontengine=directwrite option.");
}
