#include "app/picture_box.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace app {
namespace {

const QColor kBackground(0, 0, 255);
const QColor kPicture(255, 0, 0);

QImage Filled(int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

BoxState Switches(bool stretched, bool proportional, bool centred) {
  BoxState s;
  s.stretched = stretched;
  s.proportional = proportional;
  s.centred = centred;
  return s;
}

// A blue window holding a 240 x 350 poster box at its top-left corner, shown offscreen.
struct BoxOnWindow {
  std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
  PictureBox* box = new PictureBox(window.get());

  BoxOnWindow() {
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kBackground);
    window->setPalette(palette);
    window->resize(240, 350);
    box->setGeometry(0, 0, 240, 350);
    window->show();
  }
  QImage Grab() const { return window->grab().toImage(); }
};

TEST(PictureRect, FollowsTheSwitches) {
  struct Case {
    const char* name;
    QSize picture, box;
    BoxState switches;
    QRect expected;
  } const cases[] = {
      {"stretched, larger square: fits the width, centred vertically", {300, 300}, {240, 350},
       Switches(true, true, true), {0, 55, 240, 240}},
      {"stretched, smaller: scaled up", {100, 50}, {240, 350}, Switches(true, true, true),
       {0, 115, 240, 120}},
      {"proportional only, smaller: natural size", {100, 50}, {240, 350},
       Switches(false, true, true), {70, 150, 100, 50}},
      {"proportional only, taller than the box: scaled down", {120, 700}, {240, 350},
       Switches(false, true, true), {90, 0, 60, 350}},
      {"stretched without proportion: fills the box", {100, 50}, {240, 350},
       Switches(true, false, true), {0, 0, 240, 350}},
      {"neither: natural size, centred and cut off", {300, 400}, {240, 350},
       Switches(false, false, true), {-30, -25, 300, 400}},
      {"not centred: top-left corner", {300, 300}, {240, 350}, Switches(true, true, false),
       {0, 0, 240, 240}},
      {"extreme ratio keeps at least one pixel", {10000, 1}, {240, 350},
       Switches(true, true, true), {0, 174, 240, 1}},
      {"no picture", {0, 0}, {240, 350}, Switches(true, true, true), {}},
      {"empty box", {100, 100}, {0, 350}, Switches(true, true, true), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PictureRect(c.picture, c.box, c.switches), c.expected);
  }
}

TEST(PictureBox, StretchedSquareCoversTheWidthCentredVertically) {
  BoxOnWindow w;
  w.box->applySwitches(Switches(true, true, true));
  w.box->setPicture(Filled(300, 300, kPicture));
  const QImage shot = w.Grab();
  const struct {
    int x, y;
    QColor expected;
  } pixels[] = {
      {0, 54, kBackground},   {239, 54, kBackground},  {120, 0, kBackground},
      {0, 55, kPicture},      {239, 55, kPicture},     {0, 294, kPicture},
      {239, 294, kPicture},   {120, 175, kPicture},    {0, 295, kBackground},
      {239, 295, kBackground}, {120, 349, kBackground},
  };
  for (const auto& p : pixels) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    EXPECT_EQ(shot.pixelColor(p.x, p.y), p.expected);
  }
}

TEST(PictureBox, SmallPictureUnstretchedDrawnAtNaturalSizeCentred) {
  BoxOnWindow w;
  w.box->applySwitches(Switches(false, true, true));
  w.box->setPicture(Filled(100, 50, kPicture));
  const QImage shot = w.Grab();
  EXPECT_EQ(shot.pixelColor(70, 150), kPicture);
  EXPECT_EQ(shot.pixelColor(169, 199), kPicture);
  EXPECT_EQ(shot.pixelColor(69, 150), kBackground);
  EXPECT_EQ(shot.pixelColor(170, 199), kBackground);
  EXPECT_EQ(shot.pixelColor(70, 149), kBackground);
  EXPECT_EQ(shot.pixelColor(169, 200), kBackground);
}

TEST(PictureBox, WithoutPictureTheWindowBackgroundShows) {
  BoxOnWindow w;
  w.box->setPicture(Filled(240, 350, kPicture));
  w.box->setPicture(QImage());
  EXPECT_TRUE(w.box->picture().isNull());
  const QImage shot = w.Grab();
  for (const QPoint p : {QPoint(0, 0), QPoint(120, 175), QPoint(239, 349)})
    EXPECT_EQ(shot.pixelColor(p), kBackground);
}

TEST(PictureBox, TakesThePictureWithoutCopying) {
  PictureBox box;
  QImage picture = Filled(2000, 3000, kPicture);
  const uchar* pixels = picture.constBits();
  box.setPicture(std::move(picture));
  EXPECT_EQ(box.picture().constBits(), pixels);
}

TEST(PictureBox, LeftReleaseInsideIsAClick) {
  struct Case {
    const char* name;
    Qt::MouseButton button;
    QPoint release;
    int clicks;
  } const cases[] = {
      {"left, inside", Qt::LeftButton, {100, 100}, 1},
      {"left, released outside", Qt::LeftButton, {300, 100}, 0},
      {"right, inside", Qt::RightButton, {100, 100}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BoxOnWindow w;
    QSignalSpy clicked(w.box, &PictureBox::clicked);
    QTest::mousePress(w.box, c.button, {}, QPoint(100, 100));
    QTest::mouseRelease(w.box, c.button, {}, c.release);
    EXPECT_EQ(clicked.count(), c.clicks);
  }
}

}  // namespace
}  // namespace app
