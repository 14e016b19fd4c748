// Draws the launcher's pictures and writes them into one folder, from which the build compiles them
// into the program:  autorun-assetgen [ASSETS_DIR]  (default: ./assets).
// The output is committed, so the build needs neither this tool nor jpegtran.
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRadialGradient>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <vector>

namespace {

const QColor kNearBlack(4, 2, 4), kWhite(252, 254, 252), kLightGray(204, 206, 204),
    kDarkGray(116, 114, 116), kMidGray(156, 158, 156);

// The title strip is one colour per row: a light bar between black lines, with six dark pinstripes.
QColor StripRowColour(int row) {
  if (row == 0 || row == 21) return kNearBlack;
  if (row == 1) return kWhite;
  if (row == 20) return kMidGray;
  if (row >= 4 && row <= 15) return row % 2 == 0 ? kWhite : kDarkGray;
  return kLightGray;
}

QImage Canvas(int width, int height, const QColor& fill) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(fill);
  return image;
}

void Smooth(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont Font(const QString& family, qreal pixelSize, int weight = QFont::Normal) {
  QFont font(family);
  font.setPixelSize(qRound(pixelSize));
  font.setWeight(QFont::Weight(weight));
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

// A ring with a play triangle: the two player buttons differ only in their colours.
QImage PlayButton(QColor ringLight, QColor ringDark, QColor triLight, QColor triDark) {
  QImage image = Canvas(36, 36, Qt::transparent);
  QPainter p(&image);
  Smooth(p);
  const QPointF c(18, 18);
  QRadialGradient ringFill(c, 16.5, QPointF(12, 10));
  ringFill.setColorAt(0, ringLight.lighter(130));
  ringFill.setColorAt(0.75, ringLight);
  ringFill.setColorAt(1, ringDark);
  QPainterPath ring;
  ring.addEllipse(c, 16.5, 16.5);
  ring.addEllipse(c, 11.5, 11.5);
  p.setPen(QPen(ringDark.darker(130), 1));
  p.setBrush(ringFill);
  p.drawPath(ring);
  QRadialGradient centre(c, 11, QPointF(15, 14));
  centre.setColorAt(0, Qt::white);
  centre.setColorAt(1, QColor(226, 232, 236));
  p.setPen(Qt::NoPen);
  p.setBrush(centre);
  p.drawEllipse(c, 11, 11);
  p.setPen(QPen(QColor(255, 255, 255, 150), 1.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(4, 4, 28, 28), 100 * 16, 70 * 16);
  QPolygonF triangle({QPointF(14, 10.5), QPointF(14, 25.5), QPointF(26.5, 18)});
  QLinearGradient triFill(14, 10, 22, 26);
  triFill.setColorAt(0, triLight);
  triFill.setColorAt(1, triDark);
  p.setPen(QPen(triDark.darker(140), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(triFill);
  p.drawPolygon(triangle);
  return image;
}

QImage SelectButton() {
  QImage image = Canvas(36, 36, Qt::transparent);
  QPainter p(&image);
  Smooth(p);
  const QColor edge(30, 95, 25);
  QPainterPath back;
  back.moveTo(2.5, 8);
  back.lineTo(11, 8);
  back.lineTo(13.5, 11);
  back.lineTo(27.5, 11);
  back.lineTo(27.5, 29.5);
  back.lineTo(2.5, 29.5);
  back.closeSubpath();
  p.setPen(QPen(edge, 1));
  p.setBrush(QColor(70, 150, 50));
  p.drawPath(back);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(245, 245, 235));
  p.drawRect(QRectF(5, 12.5, 20, 8));
  QPainterPath front;
  front.moveTo(2.5, 29.5);
  front.lineTo(5.5, 16);
  front.lineTo(31, 16);
  front.lineTo(27.5, 29.5);
  front.closeSubpath();
  QLinearGradient frontFill(0, 16, 0, 30);
  frontFill.setColorAt(0, QColor(170, 230, 110));
  frontFill.setColorAt(1, QColor(70, 165, 50));
  p.setPen(QPen(edge, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(frontFill);
  p.drawPath(front);
  // Magnifying glass over the folder's lower right corner.
  p.setPen(QPen(QColor(60, 40, 25), 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(28.5, 27.5), QPointF(33, 32));
  const QPointF lens(23, 22);
  QRadialGradient glass(lens, 6.5, QPointF(21, 19.5));
  glass.setColorAt(0, QColor(255, 255, 255, 235));
  glass.setColorAt(1, QColor(150, 200, 240, 200));
  p.setPen(QPen(QColor(70, 70, 80), 2.2));
  p.setBrush(glass);
  p.drawEllipse(lens, 6.3, 6.3);
  p.setPen(QPen(QColor(255, 255, 255, 220), 1.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(19, 18, 8, 8), 100 * 16, 70 * 16);
  return image;
}

QImage CloseButton() {
  QImage image = Canvas(36, 36, Qt::transparent);
  QPainter p(&image);
  Smooth(p);
  QPainterPath limbs;
  limbs.moveTo(13, 12.5);  // body
  limbs.lineTo(13, 22);
  limbs.lineTo(8.5, 32.5);  // legs
  limbs.moveTo(13, 22);
  limbs.lineTo(17.5, 32.5);
  limbs.moveTo(13, 15);  // lowered arm
  limbs.lineTo(7.5, 22);
  limbs.moveTo(13, 15);  // raised, waving arm
  limbs.lineTo(20, 13.5);
  limbs.lineTo(23, 6.5);
  const QColor dark(25, 95, 25), light(95, 195, 70);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(dark, 5.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(limbs);
  p.setPen(QPen(dark, 1.1));
  p.setBrush(dark);
  p.drawEllipse(QPointF(13, 7.5), 5, 5);
  p.drawEllipse(QPointF(23.3, 5.2), 3, 3);
  p.setPen(QPen(light, 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(limbs);
  QRadialGradient head(QPointF(13, 7.5), 4.2, QPointF(11.5, 6));
  head.setColorAt(0, light.lighter(140));
  head.setColorAt(1, light);
  p.setPen(Qt::NoPen);
  p.setBrush(head);
  p.drawEllipse(QPointF(13, 7.5), 3.9, 3.9);
  p.setBrush(light);
  p.drawEllipse(QPointF(23.3, 5.2), 1.9, 1.9);
  // Motion marks beside the waving hand.
  p.setPen(QPen(QColor(70, 140, 60), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(19.3, 0.2, 9, 10), -35 * 16, 70 * 16);
  p.drawArc(QRectF(17.3, -2.3, 14, 15), -30 * 16, 60 * 16);
  return image;
}

QImage InfoButton() {
  QImage image = Canvas(36, 36, Qt::transparent);
  QPainter p(&image);
  Smooth(p);
  QPainterPath page;
  page.moveTo(13.5, 1.5);
  page.lineTo(27.5, 1.5);
  page.lineTo(33.5, 7.5);
  page.lineTo(33.5, 30.5);
  page.lineTo(13.5, 30.5);
  page.closeSubpath();
  p.setPen(QPen(QColor(110, 110, 120), 1));
  p.setBrush(Qt::white);
  p.drawPath(page);
  p.setBrush(QColor(215, 215, 222));
  p.drawPolygon(QPolygonF({QPointF(27.5, 1.5), QPointF(27.5, 7.5), QPointF(33.5, 7.5)}));
  p.setPen(QPen(QColor(90, 110, 170), 1.2));
  for (int y = 11; y <= 26; y += 3) p.drawLine(QPointF(y < 18 ? 17 : 24, y), QPointF(30.5, y));
  // The reel stands in front of the page's lower left.
  const QPointF hub(12.5, 23);
  QRadialGradient metal(hub, 11.5, QPointF(9, 19));
  metal.setColorAt(0, QColor(235, 235, 240));
  metal.setColorAt(0.7, QColor(160, 165, 175));
  metal.setColorAt(1, QColor(95, 100, 110));
  p.setPen(QPen(QColor(45, 45, 55), 1.2));
  p.setBrush(metal);
  p.drawEllipse(hub, 11, 11);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 40, 48));
  for (int i = 0; i < 5; ++i) {
    QTransform turn;
    turn.translate(hub.x(), hub.y());
    turn.rotate(i * 72 - 90);
    p.drawEllipse(turn.map(QPointF(6.2, 0)), 2.6, 2.6);
  }
  p.setBrush(QColor(60, 60, 70));
  p.drawEllipse(hub, 1.8, 1.8);
  p.setPen(QPen(QColor(255, 255, 255, 170), 1.1, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(3.5, 14, 18, 18), 110 * 16, 60 * 16);
  return image;
}

// Draws text centred on a line, squeezed sideways when it is wider than the box, as credit blocks
// are; shadow gives the title lettering some depth.
void PosterText(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
                const QBrush& fill, qreal shadow = 0) {
  QPainterPath path;
  QFontMetricsF metrics(font);
  const qreal width = metrics.horizontalAdvance(text);
  path.addText(-width / 2, 0, font, text);
  QTransform place;
  place.translate(box.center().x(), box.bottom() - metrics.descent());
  if (width > box.width()) place.scale(box.width() / width, 1);
  path = place.map(path);
  if (shadow > 0) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 160));
    p.drawPath(path.translated(shadow, shadow));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(path);
}

QImage DefaultPoster() {
  QImage image = Canvas(240, 350, Qt::black);
  QPainter p(&image);
  Smooth(p);
  QLinearGradient sky(0, 0, 0, 350);
  sky.setColorAt(0, QColor(12, 10, 40));
  sky.setColorAt(0.55, QColor(70, 20, 60));
  sky.setColorAt(1, QColor(18, 6, 12));
  p.fillRect(image.rect(), sky);
  // Two spotlight beams crossing above the title.
  for (int side = 0; side < 2; ++side) {
    const qreal foot = side == 0 ? 30 : 210, top = side == 0 ? 200 : 40;
    QLinearGradient beam(foot, 350, top, 0);
    beam.setColorAt(0, QColor(255, 240, 190, 120));
    beam.setColorAt(1, QColor(255, 240, 190, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(beam);
    p.drawPolygon(QPolygonF({QPointF(foot - 6, 350), QPointF(foot + 6, 350),
                             QPointF(top + 40, 0), QPointF(top - 40, 0)}));
  }
  // A film strip sweeping across the middle.
  p.save();
  p.translate(120, 205);
  p.rotate(-12);
  const QRectF strip(-150, -26, 300, 52);
  p.fillRect(strip, QColor(20, 16, 14));
  for (int i = 0; i < 8; ++i) {
    const qreal x = -146 + i * 38;
    QLinearGradient frame(x, -17, x + 32, 17);
    frame.setColorAt(0, QColor(250, 190, 80));
    frame.setColorAt(1, QColor(180, 60, 40));
    p.fillRect(QRectF(x + 2, -17, 32, 34), frame);
    for (int hole = 0; hole < 3; ++hole) {
      p.fillRect(QRectF(x + 4 + hole * 12, -23.5, 6, 4), QColor(230, 225, 210));
      p.fillRect(QRectF(x + 4 + hole * 12, 19.5, 6, 4), QColor(230, 225, 210));
    }
  }
  p.restore();
  PosterText(p, QRectF(0, 36, 240, 20), "NOW SHOWING", Font("Liberation Sans", 12, QFont::Bold),
             QColor(230, 220, 255));
  QLinearGradient gold(0, 60, 0, 135);
  gold.setColorAt(0, QColor(255, 245, 200));
  gold.setColorAt(0.5, QColor(245, 195, 70));
  gold.setColorAt(1, QColor(190, 120, 30));
  const QFont title = Font("Liberation Serif", 36, QFont::Bold);
  PosterText(p, QRectF(0, 60, 240, 44), "FEATURE", title, gold, 2);
  PosterText(p, QRectF(0, 100, 240, 32), "PRESENTATION", Font("Liberation Serif", 25, QFont::Bold),
             gold, 2);
  // Credits block, as tightly set as on a real one-sheet.
  p.fillRect(QRectF(0, 262, 240, 88), QColor(0, 0, 0, 110));
  const QFont names = Font("Liberation Sans", 9, QFont::Bold);
  PosterText(p, QRectF(6, 266, 228, 12), "ELENA MARCHETTI    JONAS VEHRLE    AKIRA TANABE", names,
             QColor(240, 235, 250));
  const QFont billing = Font("Liberation Sans Narrow", 7);
  const std::array<QString, 3> lines = {
      "A MIDNIGHT REEL PRODUCTION IN ASSOCIATION WITH SILVER FRAME PICTURES  A FILM BY ELENA "
      "MARCHETTI",
      "MUSIC BY AKIRA TANABE  EDITED BY RUTH O'CONNELL  DIRECTOR OF PHOTOGRAPHY MARCUS DELACROIX",
      "WRITTEN BY SAMUEL OKONKWO  PRODUCED BY JONAS VEHRLE  DIRECTED BY ELENA MARCHETTI"};
  for (size_t i = 0; i < lines.size(); ++i) {
    PosterText(p, QRectF(8, 281 + i * 9, 224, 9), lines[i], billing, QColor(200, 195, 212));
  }
  PosterText(p, QRectF(0, 310, 240, 14), "COMING SOON", Font("Liberation Sans", 10, QFont::Bold),
             QColor(240, 215, 150));
  p.setPen(QPen(QColor(205, 200, 215), 0.8));
  p.drawLine(QPointF(60, 329.5), QPointF(180, 329.5));
  PosterText(p, QRectF(0, 332, 240, 12), "PG-13  \xc2\xb7  DOLBY STEREO  \xc2\xb7  IN CINEMAS",
             Font("Liberation Sans", 7, QFont::Bold), QColor(200, 195, 212));
  return image;
}

// Maps every pixel to the nearest colour of a fixed palette; pixels mostly transparent become the
// palette's transparent entry 0.
QImage Quantise(const QImage& source, const QList<QRgb>& palette) {
  const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
  QImage out(argb.size(), QImage::Format_Indexed8);
  out.setColorTable(palette);
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) {
      const QRgb c = argb.pixel(x, y);
      int best = 0;
      if (qAlpha(c) >= 128) {
        long bestDistance = -1;
        for (int i = 1; i < palette.size(); ++i) {
          const long dr = qRed(c) - qRed(palette[i]), dg = qGreen(c) - qGreen(palette[i]),
                     db = qBlue(c) - qBlue(palette[i]);
          const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
          if (bestDistance < 0 || distance < bestDistance) bestDistance = distance, best = i;
        }
      }
      out.setPixel(x, y, best);
    }
  }
  return out;
}

QImage ProgramIcon() {
  QImage image = Canvas(32, 32, Qt::transparent);
  QPainter p(&image);
  Smooth(p);
  const QPointF c(16, 16);
  QRadialGradient blue(c, 15.5, QPointF(11, 10));
  blue.setColorAt(0, QColor(140, 185, 250));
  blue.setColorAt(0.8, QColor(40, 95, 210));
  blue.setColorAt(1, QColor(20, 45, 130));
  QPainterPath ring;
  ring.addEllipse(c, 15.4, 15.4);
  ring.addEllipse(c, 10, 10);
  p.setPen(Qt::NoPen);
  p.setBrush(blue);
  p.drawPath(ring);
  QRadialGradient brown(c, 10, QPointF(13, 12));
  brown.setColorAt(0, QColor(190, 130, 75));
  brown.setColorAt(1, QColor(95, 55, 25));
  p.setBrush(brown);
  p.drawEllipse(c, 10, 10);
  p.setBrush(QColor(200, 225, 245));
  p.drawEllipse(c, 5, 5);
  p.setBrush(QColor(245, 250, 255));
  p.drawEllipse(QPointF(14.5, 14.5), 1.8, 1.8);
  p.end();
  const QList<QRgb> palette = {
      qRgba(0, 0, 0, 0),    qRgb(20, 45, 130),    qRgb(35, 80, 190),    qRgb(60, 115, 225),
      qRgb(110, 160, 245),  qRgb(165, 200, 250),  qRgb(95, 55, 25),     qRgb(130, 80, 40),
      qRgb(165, 110, 60),   qRgb(195, 140, 85),   qRgb(200, 225, 245),  qRgb(245, 250, 255),
      qRgb(150, 175, 200),  qRgb(60, 60, 90),     qRgb(25, 60, 160),    qRgb(120, 110, 120)};
  return Quantise(image, palette);
}

QImage TitleStrip() {
  QImage strip(1024, 22, QImage::Format_Indexed8);
  const std::array<QColor, 5> colours = {kNearBlack, kWhite, kLightGray, kDarkGray, kMidGray};
  QList<QRgb> table;
  for (const QColor& colour : colours) table.append(colour.rgb());
  strip.setColorTable(table);
  for (int y = 0; y < strip.height(); ++y) {
    const int index = int(table.indexOf(StripRowColour(y).rgb()));
    for (int x = 0; x < strip.width(); ++x) strip.setPixel(x, y, index);
  }
  return strip;
}

QImage StripBackground(int width) {
  QImage image = Canvas(width, 22, kLightGray);
  for (int y = 0; y < 22; ++y) {
    for (int x = 0; x < width; ++x) image.setPixelColor(x, y, StripRowColour(y));
  }
  return image;
}

// Renders the word on its own and measures the ink, so that the letters fill exactly rows 5 to 13
// whatever the installed font's metrics are. The plate keeps the strip's pinstripes in its three
// leftmost and two rightmost columns, so the stripes seem to stop at its edges.
QImage TitlePlate() {
  QImage plate = StripBackground(66);
  QPainter p(&plate);
  p.fillRect(3, 1, 61, 20, kLightGray);
  for (int pixelSize = 14; pixelSize >= 9; --pixelSize) {
    QFont font = Font("Liberation Sans", pixelSize, QFont::Bold);
    font.setStyleStrategy(QFont::NoAntialias);  // crisp pixels read better than grey fringes here
    QImage ink = Canvas(80, 30, Qt::transparent);
    QPainter ip(&ink);
    ip.setRenderHint(QPainter::TextAntialiasing);
    ip.setFont(font);
    ip.setPen(Qt::black);
    ip.drawText(4, 22, "Autorun");
    ip.end();
    int top = 30, bottom = -1, left = 80, right = -1;
    for (int y = 0; y < ink.height(); ++y) {
      for (int x = 0; x < ink.width(); ++x) {
        if (qAlpha(ink.pixel(x, y)) < 90) continue;
        top = qMin(top, y), bottom = qMax(bottom, y), left = qMin(left, x), right = qMax(right, x);
      }
    }
    if (bottom - top + 1 > 9 || right - left + 1 > 58) continue;
    const int width = right - left + 1;
    p.drawImage(QPoint(3 + (61 - width) / 2, 5), ink, QRect(left, top, width, 9));
    break;
  }
  return plate;
}

QImage CloseLook(bool pressed) {
  QImage image = StripBackground(19);
  QPainter p(&image);
  Smooth(p);
  const QPointF c(9.5, 11);
  if (pressed) {
    QRadialGradient glow(c, 9.5);
    glow.setColorAt(0.6, QColor(255, 150, 90, 150));
    glow.setColorAt(1, QColor(255, 150, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, 9.5, 9.5);
  }
  QRadialGradient face(c, 6.5, c - QPointF(2, 2.5));
  face.setColorAt(0, pressed ? QColor(255, 245, 215) : QColor(255, 150, 130));
  face.setColorAt(0.55, pressed ? QColor(255, 140, 80) : QColor(225, 35, 25));
  face.setColorAt(1, pressed ? QColor(235, 60, 30) : QColor(145, 10, 5));
  p.setPen(QPen(QColor(90, 10, 5), 1));
  p.setBrush(face);
  p.drawEllipse(c, 6.4, 6.4);
  if (!pressed) {
    p.setPen(QPen(QColor(70, 0, 0), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-2.3, -2.3), c + QPointF(2.3, 2.3));
    p.drawLine(c + QPointF(-2.3, 2.3), c + QPointF(2.3, -2.3));
  }
  return image;
}

bool SaveRgb(const QImage& image, const QString& path) {
  return image.convertToFormat(QImage::Format_RGB888).save(path, "PNG", 0);
}

// The button pictures lie on a face that is a gradient, so around the drawing they are transparent,
// the lower-left pixel included, as the classic rule for button pictures has it.
bool SaveArgb(const QImage& image, const QString& path) {
  return image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG", 0);
}

// Qt writes only baseline JPEG; jpegtran re-encodes it losslessly into progressive scans.
bool SaveProgressiveJpeg(const QImage& image, const QString& path) {
  QTemporaryDir temp;
  const QString baseline = temp.filePath("baseline.jpg");
  if (!temp.isValid() || !image.convertToFormat(QImage::Format_RGB888).save(baseline, "JPG", 92)) {
    return false;
  }
  const int status = QProcess::execute("jpegtran", {"-progressive", "-optimize", "-copy", "none",
                                                    "-outfile", path, baseline});
  if (status != 0) {
    std::fprintf(stderr, "jpegtran failed (status %d); is libjpeg-turbo-progs installed?\n", status);
    return false;
  }
  QFile written(path);
  return written.open(QIODevice::ReadOnly) && written.readAll().contains("\xff\xc2");
}

struct Asset {
  QString name;
  QString role;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("assets"));
  if (!QDir().mkpath(dir.path())) {
    std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.path()));
    return 1;
  }
  const std::vector<Asset> assets = {
      {"vplayer.png", "VPlayer button"},   {"bplayer.png", "BPlayer button"},
      {"select.png", "Select Player button"}, {"close.png", "Close button"},
      {"info.png", "Show Info button"},     {"default-poster.jpg", "default poster"},
      {"icon.png", "program icon"},        {"title-strip.png", "title strip"},
      {"title-plate.png", "name plate"},   {"close-up.png", "close button, released"},
      {"close-down.png", "close button, pressed"}};
  const auto path = [&](const QString& name) { return dir.filePath(name); };
  const bool ok =
      SaveArgb(PlayButton(QColor(90, 200, 70), QColor(20, 115, 30), QColor(120, 175, 255),
                         QColor(25, 65, 185)),
              path("vplayer.png")) &&
      SaveArgb(PlayButton(QColor(80, 140, 240), QColor(20, 55, 160), QColor(140, 230, 100),
                         QColor(30, 135, 35)),
              path("bplayer.png")) &&
      SaveArgb(SelectButton(), path("select.png")) && SaveArgb(CloseButton(), path("close.png")) &&
      SaveArgb(InfoButton(), path("info.png")) &&
      SaveProgressiveJpeg(DefaultPoster(), path("default-poster.jpg")) &&
      ProgramIcon().save(path("icon.png"), "PNG", 0) &&
      TitleStrip().save(path("title-strip.png"), "PNG", 0) &&
      SaveRgb(TitlePlate(), path("title-plate.png")) &&
      SaveRgb(CloseLook(false), path("close-up.png")) &&
      SaveRgb(CloseLook(true), path("close-down.png"));
  if (!ok) {
    std::fprintf(stderr, "writing the assets into %s failed\n", qPrintable(dir.path()));
    return 1;
  }
  for (const Asset& asset : assets) std::printf("%s  %s\n", qPrintable(path(asset.name)),
                                                qPrintable(asset.role));
  return 0;
}
