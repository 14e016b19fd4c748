#include "app/title_strip.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

#include "app/screen_size.h"

namespace app {
namespace {

const QColor kBackground(238, 238, 238);
const QColor kReleased(200, 0, 0);
const QColor kPressed(255, 220, 0);

QImage Filled(int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// An 8-bit palette strip like the real one: white with a dark column 0 to show where it starts.
QImage PaletteStrip() {
  QImage strip(1024, 22, QImage::Format_Indexed8);
  strip.setColorTable({qRgb(252, 254, 252), qRgb(4, 2, 4)});
  strip.fill(0);
  for (int y = 0; y < 22; ++y) strip.setPixel(0, y, 1);
  return strip;
}

void SetBackground(QWidget& widget) {
  widget.setAutoFillBackground(true);
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, kBackground);
  widget.setPalette(palette);
}

TEST(StripPicture, DrawsFromItsLeftEndAndLeavesTheRestToTheBackground) {
  QWidget window;
  SetBackground(window);
  window.resize(1100, 40);
  auto* strip = new StripPicture(PaletteStrip(), &window);
  strip->setGeometry(1, 0, 1098, 22);
  window.show();
  const QImage shot = window.grab().toImage();
  EXPECT_EQ(shot.pixelColor(1, 5), QColor(4, 2, 4));        // the picture's column 0
  EXPECT_EQ(shot.pixelColor(2, 5), QColor(252, 254, 252));
  EXPECT_EQ(shot.pixelColor(1024, 5), QColor(252, 254, 252));  // its last column
  EXPECT_EQ(shot.pixelColor(1025, 5), kBackground);         // past the picture
  EXPECT_EQ(shot.pixelColor(1098, 5), kBackground);
  EXPECT_EQ(shot.pixelColor(0, 5), kBackground);            // the edge column stays free
}

// Which look shows, as drawn.
QColor ShownLook(CloseButton& button) { return button.grab().toImage().pixelColor(9, 11); }

TEST(CloseButton, PressShowsThePressedLookAndAReleaseInsideClicks) {
  struct Case {
    const char* name;
    Qt::MouseButton button;
    QPoint release;
    int clicks;
  } const cases[] = {
      {"released over the button", Qt::LeftButton, {9, 11}, 1},
      {"released outside: stays open", Qt::LeftButton, {60, 11}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CloseButton button(Filled(19, 22, kReleased), Filled(19, 22, kPressed));
    button.resize(19, 22);
    button.show();
    QSignalSpy clicked(&button, &CloseButton::clicked);
    EXPECT_EQ(ShownLook(button), kReleased);
    EXPECT_EQ(button.imgButton1()->objectName(), "imgButton1");

    QTest::mousePress(&button, c.button, {}, QPoint(9, 11));
    EXPECT_TRUE(button.showsPressedLook());
    EXPECT_TRUE(button.imgButton1()->isHidden());
    EXPECT_EQ(ShownLook(button), kPressed);
    EXPECT_EQ(clicked.count(), 0);

    QTest::mouseRelease(&button, c.button, {}, c.release);
    EXPECT_FALSE(button.showsPressedLook());
    EXPECT_TRUE(button.imgButton2()->isHidden());
    EXPECT_EQ(ShownLook(button), kReleased);
    EXPECT_EQ(clicked.count(), c.clicks);
  }
}

TEST(CloseButton, OtherButtonsNeitherPressNorClick) {
  CloseButton button(Filled(19, 22, kReleased), Filled(19, 22, kPressed));
  button.resize(19, 22);
  button.show();
  QSignalSpy clicked(&button, &CloseButton::clicked);
  QTest::mousePress(&button, Qt::RightButton, {}, QPoint(9, 11));
  EXPECT_FALSE(button.showsPressedLook());
  QTest::mouseRelease(&button, Qt::RightButton, {}, QPoint(9, 11));
  EXPECT_EQ(clicked.count(), 0);
}

// Counts the presses that reach the window's own background.
class CountingWindow : public QWidget {
 public:
  CountingWindow() : QWidget(nullptr, Qt::FramelessWindowHint) {}
  int backgroundPresses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++backgroundPresses; }
};

// A frameless window with the title strip laid out as at start-up, driven through the window
// system's event path so that the widget under the pointer gets the events.
class TitleStripWindow : public testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<CountingWindow>();
    SetBackground(*window_);
    window_->resize(385, 425);
    const StripLayout layout = LayoutTitleStrip(385);
    strip_ = new StripPicture(PaletteStrip(), window_.get());
    strip_->setGeometry(layout.stripLeft, 0, layout.stripWidth, 22);
    close_ = new CloseButton(Filled(19, 22, kReleased), Filled(19, 22, kPressed), window_.get());
    close_->setGeometry(layout.closeLeft, 0, 19, 22);
    plate_ = new StripPicture(Filled(66, 22, kReleased), window_.get());
    plate_->setGeometry(layout.plateLeft, 0, 66, 22);
    window_->move(300, 200);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    handle_ = window_->windowHandle();
    if (handle_->startSystemMove()) GTEST_SKIP() << "the platform moves windows itself";
  }
  void TearDown() override {
    if (handle_ != nullptr) QTest::mouseRelease(handle_, Qt::LeftButton, {}, QPoint(1, 30));
  }

  // The pointer is driven in screen coordinates, as a real one: the window moves under it.
  QPoint Local(QPoint global) const { return global - window_->pos(); }
  void Press(QPoint global) { QTest::mousePress(handle_, Qt::LeftButton, {}, Local(global)); }
  void MoveTo(QPoint global) { QTest::mouseMove(handle_, Local(global)); }
  void Release(QPoint global) { QTest::mouseRelease(handle_, Qt::LeftButton, {}, Local(global)); }

  std::unique_ptr<CountingWindow> window_;
  StripPicture* strip_ = nullptr;
  StripPicture* plate_ = nullptr;
  CloseButton* close_ = nullptr;
  QWindow* handle_ = nullptr;
};

TEST_F(TitleStripWindow, StripAndPlateDragTheWindowByThePointerDelta) {
  struct Case {
    const char* name;
    QPoint press;  // window coordinates
  } const cases[] = {{"strip", {40, 10}}, {"plate", {190, 10}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QPoint start = window_->pos();
    const QPoint pointer = start + c.press;
    Press(pointer);
    MoveTo(pointer + QPoint(30, 20));
    EXPECT_EQ(window_->pos(), start + QPoint(30, 20));
    MoveTo(pointer + QPoint(25, 22));
    EXPECT_EQ(window_->pos(), start + QPoint(25, 22));
    Release(pointer + QPoint(25, 22));
    MoveTo(pointer + QPoint(75, 72));
    EXPECT_EQ(window_->pos(), start + QPoint(25, 22)) << "moved after the release";
  }
}

TEST_F(TitleStripWindow, MovesWithinTheDragDistanceAreAClickThatNeverMovesTheWindow) {
  const int distance = QApplication::startDragDistance();
  ASSERT_GT(distance, 2);
  const QPoint start = window_->pos();
  const QPoint pointer = start + QPoint(40, 10);
  Press(pointer);
  MoveTo(pointer + QPoint(distance - 1, 0));
  MoveTo(pointer + QPoint(0, 1 - distance));
  EXPECT_EQ(window_->pos(), start);
  Release(pointer + QPoint(distance - 1, 0));
  MoveTo(pointer + QPoint(3 * distance, 2 * distance));
  EXPECT_EQ(window_->pos(), start) << "a click left the window following the pointer";
  // Past the distance the window catches up at once: the point pressed is under the pointer.
  Press(pointer);
  MoveTo(pointer + QPoint(distance + 5, 3));
  EXPECT_EQ(window_->pos(), start + QPoint(distance + 5, 3));
  Release(pointer + QPoint(distance + 5, 3));
}

TEST_F(TitleStripWindow, CloseButtonIsNoDragHandle) {
  QSignalSpy clicked(close_, &CloseButton::clicked);
  const QPoint start = window_->pos();
  const QPoint pointer = start + QPoint(close_->x() + 9, 11);
  Press(pointer);
  MoveTo(pointer + QPoint(-30, 20));
  EXPECT_EQ(window_->pos(), start);
  EXPECT_TRUE(close_->showsPressedLook());
  Release(pointer + QPoint(-30, 20));  // beside the button: no click
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_FALSE(close_->showsPressedLook());
}

TEST_F(TitleStripWindow, PressesOnTheChromeStayOffTheWindowBackground) {
  const struct {
    const char* name;
    QPoint at;
    Qt::MouseButton button;
    int backgroundPresses;
  } cases[] = {
      {"strip, left", {40, 10}, Qt::LeftButton, 0},
      {"strip, right", {40, 10}, Qt::RightButton, 0},
      {"plate", {190, 10}, Qt::LeftButton, 0},
      {"close button", {372, 11}, Qt::RightButton, 0},
      {"background", {200, 300}, Qt::LeftButton, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    window_->backgroundPresses = 0;
    QTest::mousePress(handle_, c.button, {}, c.at);
    QTest::mouseRelease(handle_, c.button, {}, c.at);
    EXPECT_EQ(window_->backgroundPresses, c.backgroundPresses);
  }
}

TEST_F(TitleStripWindow, ALostReleaseEndsTheDrag) {
  const QPoint start = window_->pos();
  Press(start + QPoint(40, 10));
  // The release went elsewhere: the next move arrives with no button held.
  QMouseEvent buttonless(QEvent::MouseMove, QPointF(45, 12), strip_->mapToGlobal(QPointF(45, 12)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(strip_, &buttonless);
  EXPECT_FALSE(strip_->dragger()->movingWindow());
  QMouseEvent held(QEvent::MouseMove, QPointF(80, 30), strip_->mapToGlobal(QPointF(80, 30)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(strip_, &held);
  EXPECT_EQ(window_->pos(), start);
}

TEST(PaintEdgeLine, CoversBothSidesAndTheBottomButNotTheTop) {
  for (const QSize size : {QSize(385, 425), QSize(536, 671)}) {
    SCOPED_TRACE(size.width());
    const int w = size.width(), h = size.height();
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
      QPainter painter(&canvas);
      PaintEdgeLine(painter, w, h);
    }
    const QColor gray(128, 128, 128), white(Qt::white);
    const struct {
      int x, y;
      QColor expected;
    } pixels[] = {
        {w - 1, 0, gray},  {w - 1, h / 2, gray}, {w - 1, h - 1, gray}, {w / 2, h - 1, gray},
        {0, h - 1, gray},  {0, h / 2, gray},     {0, 1, gray},         {0, 0, white},
        {1, 0, white},     {w / 2, 0, white},    {w - 2, 0, white},    {1, 1, white},
        {w - 2, h - 2, white}, {1, h - 2, white},
    };
    for (const auto& p : pixels) {
      SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
      EXPECT_EQ(canvas.pixelColor(p.x, p.y), p.expected);
    }
    int grayCount = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) grayCount += canvas.pixelColor(x, y) == gray;
    EXPECT_EQ(grayCount, 2 * h + w - 3);  // every pixel of the three legs, nothing else
  }
}

TEST(TitleStripAssets, HaveTheirSizes) {
  const struct {
    const char* path;
    QSize size;
  } assets[] = {{":/assets/title-strip.png", {1024, 22}},
                {":/assets/title-plate.png", {66, 22}},
                {":/assets/close-up.png", {19, 22}},
                {":/assets/close-down.png", {19, 22}}};
  for (const auto& a : assets) {
    SCOPED_TRACE(a.path);
    const QImage image(QString::fromLatin1(a.path));
    if (image.isNull()) GTEST_SKIP() << "title strip pictures not built into this binary";
    EXPECT_EQ(image.size(), a.size);
  }
}

}  // namespace
}  // namespace app
