// The chart controls on the Qt host: a canvas control paints what its procedure draws in
// its own Paint, grows with a resizable window, and passes on resizes, wheel turns, clicks
// and the moving keys (Escape still reaches the dialog); check boxes and the horizontal
// scroll bar tell the procedure what the user did; a table shows its texts; a saved picture
// is a PNG with what was drawn, and a failed save says so. One-pixel lines, on the window or
// on an image, land on the pixels nearest to the ideal line, and only where Qt repaints.
// Pixels are the window's own at any screen scale (the suite runs these with
// QT_SCALE_FACTOR=2 too): a one-pixel line is then one window pixel wide, drawn at the
// screen's resolution.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <set>
#include <utility>

#include "hosts/qt/painter_canvas.h"
#include "hosts/qt/qt_desktop.h"
#include "tests/qt/dialog_script.h"
#include "tests/qt/logical_pixels.h"

namespace zav {
namespace {

constexpr int kCanvasId = 1, kBoxId = 2, kBarId = 3, kTableId = 4, kChartStepTimerId = 1;
constexpr Colour kGround{10, 200, 30};
constexpr Colour kChartRed{255, 0, 0};

const DialogTemplate& ChartTemplate() {
  static constexpr std::array kControls{
      ControlTemplate{kCanvasId, ControlKind::CanvasControl, {5, 5, 200, 100}, ""},
      ControlTemplate{kBoxId, ControlKind::CheckBox, {5, 108, 40, 10}, "RPM"},
      ControlTemplate{kBarId, ControlKind::HorizontalScrollBar, {5, 120, 200, 10}, ""},
      ControlTemplate{kTableId, ControlKind::Table, {210, 5, 80, 60}, ""},
  };
  static const DialogTemplate kTemplate{.id = 4100,
                                        .title = "Chart",
                                        .rect = {0, 0, 300, 135},
                                        .sizingBorder = true,
                                        .controls = kControls};
  return kTemplate;
}

class ChartControlsTest : public testing::Test {
 protected:
  void Run(const std::function<void(WindowRef)>& step) {
    test::DialogScript script([&](Desktop& desktop, WindowRef window, const DialogEvent& event) {
      if (event.message == DialogMessage::Init) {
        desktop.SetTimer(window, kChartStepTimerId, 20);
      } else if (event.message == DialogMessage::Paint && event.id == kCanvasId) {
        ++paints_;
        (paint_ ? paint_ : Paint)(desktop.ControlCanvas(window, kCanvasId),
                                  desktop.ControlSize(window, kCanvasId));
      } else if (event.message == DialogMessage::Timer && event.id == kChartStepTimerId) {
        desktop.KillTimer(window, kChartStepTimerId);
        step(window);
        desktop.EndDialog(window, 0);
      }
    });
    script_ = &script;
    desktop_.RunDialog(ChartTemplate(), {}, script.Proc());
    EXPECT_FALSE(script.TimedOut());
    script_ = nullptr;
  }

  static void Paint(Canvas& canvas, PixelSize size) {
    canvas.FillRectangle({0, 0, size.width, size.height}, kGround);
    canvas.SetPen(kChartRed);
    canvas.SetPenStyle(1, LineStyle::Solid);
    const std::array<PixelPoint, 3> line{{{10, 10}, {60, 10}, {60, 40}}};
    canvas.Polyline(line);
  }

  std::vector<DialogEvent> Of(DialogMessage message) const {
    std::vector<DialogEvent> found;
    for (const DialogEvent& event : script_->Events()) {
      if (event.message == message) {
        found.push_back(event);
      }
    }
    return found;
  }

  static void Settle() { QApplication::processEvents(); }

  QtDesktop desktop_;
  test::DialogScript* script_ = nullptr;
  int paints_ = 0;
  std::function<void(Canvas&, PixelSize)> paint_;  // the canvas's Paint; none: Paint
};

// The first and last window pixel columns of `image` where a device pixel of the window pixel
// rows [top, bottom) is darker than mid grey; (width, -1) when none is.
std::pair<int, int> InkColumns(const QImage& image, int top, int bottom) {
  const int ratio = test::RatioOf(image);
  int first = image.width();
  int last = -1;
  for (int y = std::max(top * ratio, 0); y < std::min(bottom * ratio, image.height()); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        first = std::min(first, x / ratio);
        last = std::max(last, x / ratio);
      }
    }
  }
  return {first, last};
}

TEST_F(ChartControlsTest, CanvasShowsWhatItsPaintDrew) {
  Run([&](WindowRef window) {
    QWidget* canvas = desktop_.ControlOf(window, kCanvasId);
    const QImage picture = canvas->grab().toImage();
    EXPECT_EQ(test::LogicalColour(picture, {30, 30}), QColor(10, 200, 30));
    // The one-pixel line covers its pixels whole, at any scale.
    EXPECT_EQ(test::LogicalColour(picture, {30, 10}), QColor(255, 0, 0));
    EXPECT_EQ(test::LogicalColour(picture, {60, 25}), QColor(255, 0, 0));
    EXPECT_EQ(test::LogicalColour(picture, {30, 11}), QColor(10, 200, 30));
    EXPECT_EQ(test::LogicalColour(picture, {61, 25}), QColor(10, 200, 30));
    // Drawing outside its Paint leaves no mark.
    desktop_.ControlCanvas(window, kCanvasId).FillRectangle({0, 0, 5, 5}, kChartRed);
    const int before = paints_;
    desktop_.Redraw(window, kCanvasId);
    desktop_.Redraw(window, kCanvasId);
    Settle();
    EXPECT_EQ(paints_, before + 1) << "two redraws asked together bring one Paint";
  });
}

// The pixels a one-pixel line from `from` to `to` covers, `to` left out: at each step along
// the longer axis, the pixel nearest to the ideal line (a tie goes to the larger coordinate).
void AddNearestPixels(PixelPoint from, PixelPoint to, std::set<std::pair<int, int>>& pixels) {
  const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
  for (int i = 0; i < steps; ++i) {
    const double x = from.x + (to.x - from.x) * static_cast<double>(i) / steps;
    const double y = from.y + (to.y - from.y) * static_cast<double>(i) / steps;
    pixels.insert({static_cast<int>(std::floor(x + 0.5)), static_cast<int>(std::floor(y + 0.5))});
  }
}

// Where `colour` shows in the canvas's part of what its window shows, in canvas pixels: those
// with the colour in one of their device pixels at least.
std::set<std::pair<int, int>> PixelsOf(QWidget& canvas, const QColor& colour) {
  QImage shown =
      canvas.screen()->grabWindow(canvas.window()->winId()).toImage();  // the window's image
  shown.setDevicePixelRatio(canvas.devicePixelRatioF());
  const QPoint origin = canvas.mapTo(canvas.window(), QPoint(0, 0));
  std::set<std::pair<int, int>> found;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (test::LogicalShows(shown, origin + QPoint(x, y), colour)) {
        found.insert({x, y});
      }
    }
  }
  return found;
}

// True when every pixel of `pixels` is one of `near`'s or next to one.
bool AllNextTo(const std::set<std::pair<int, int>>& pixels,
               const std::set<std::pair<int, int>>& near) {
  return std::ranges::all_of(pixels, [&](const std::pair<int, int>& pixel) {
    return std::ranges::any_of(near, [&](const std::pair<int, int>& other) {
      return std::abs(pixel.first - other.first) <= 1 && std::abs(pixel.second - other.second) <= 1;
    });
  });
}

TEST_F(ChartControlsTest, LinesOnTheWindowTakeTheNearestPixelsAndStayInTheRepaintedArea) {
  const std::array<PixelPoint, 3> line{{{5, 3}, {190, 97}, {7, 90}}};
  QColor ink(255, 0, 0);
  paint_ = [&](Canvas& canvas, PixelSize size) {
    canvas.FillRectangle({0, 0, size.width, size.height}, {255, 255, 255});
    canvas.SetPen({static_cast<std::uint8_t>(ink.red()), static_cast<std::uint8_t>(ink.green()),
                   static_cast<std::uint8_t>(ink.blue())});
    canvas.Polyline(line);
  };
  std::set<std::pair<int, int>> nearest;
  AddNearestPixels(line[0], line[1], nearest);
  AddNearestPixels(line[1], line[2], nearest);
  nearest.insert({line[2].x, line[2].y});
  Run([&](WindowRef window) {
    QWidget* canvas = desktop_.ControlOf(window, kCanvasId);
    // 1:1 the nearest pixels exactly; on a scaled screen the line steps at device pixels, so
    // a window pixel it crosses at a corner may take its ink or its neighbour's.
    const bool oneToOne = canvas->devicePixelRatioF() == 1.0;
    Settle();
    const auto drawn = PixelsOf(*canvas, Qt::red);
    if (oneToOne) {
      EXPECT_EQ(drawn, nearest);
    } else {
      EXPECT_TRUE(AllNextTo(drawn, nearest));
      EXPECT_TRUE(AllNextTo(nearest, drawn));
      EXPECT_GE(drawn.size(), nearest.size());
    }
    // A repaint of part of the canvas (as an expose) in another ink: the line changes there
    // and nowhere else.
    ink = QColor(0, 0, 255);
    const QRect part(40, 10, 30, 30);
    canvas->update(part);
    Settle();
    const auto blue = PixelsOf(*canvas, Qt::blue);
    const auto red = PixelsOf(*canvas, Qt::red);
    EXPECT_FALSE(blue.empty());
    for (const auto& [x, y] : oneToOne ? nearest : drawn) {
      const bool inside = part.contains(x, y);
      EXPECT_EQ(blue.count({x, y}), inside ? 1U : 0U) << x << "," << y;
      EXPECT_EQ(red.count({x, y}), inside ? 0U : 1U) << x << "," << y;
    }
    EXPECT_EQ(blue.size() + red.size(), oneToOne ? nearest.size() : drawn.size());
  });
}

TEST_F(ChartControlsTest, CanvasAndScrollBarGrowWithTheWindow) {
  Run([&](WindowRef window) {
    QWidget* canvas = desktop_.ControlOf(window, kCanvasId);
    QWidget* bar = desktop_.ControlOf(window, kBarId);
    const QSize canvasBefore = canvas->size();
    const QRect barBefore = bar->geometry();
    const std::size_t resizes = Of(DialogMessage::Resize).size();
    QWidget* frame = desktop_.WindowOf(window);
    frame->resize(frame->size() + QSize(120, 80));
    Settle();
    EXPECT_EQ(canvas->size(), canvasBefore + QSize(120, 80));
    EXPECT_EQ(bar->height(), barBefore.height());
    EXPECT_EQ(bar->width(), barBefore.width() + 120);
    EXPECT_EQ(bar->y(), barBefore.y() + 80);
    EXPECT_GT(Of(DialogMessage::Resize).size(), resizes);
    EXPECT_EQ(desktop_.ControlSize(window, kCanvasId).width, canvas->width());
  });
}

TEST_F(ChartControlsTest, CanvasPassesOnWheelClicksAndMovingKeysButNotEscape) {
  Run([&](WindowRef window) {
    QWidget* canvas = desktop_.ControlOf(window, kCanvasId);
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(17, 23));
    QTest::keyClick(canvas, Qt::Key_PageUp);
    QTest::keyClick(canvas, Qt::Key_Escape);
    QWheelEvent wheel(QPointF(20, 20), canvas->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    ASSERT_EQ(Of(DialogMessage::Click).size(), 1u);
    EXPECT_EQ(Of(DialogMessage::Click)[0].at, (PixelPoint{17, 23}));
    ASSERT_EQ(Of(DialogMessage::Key).size(), 1u);
    EXPECT_EQ(Of(DialogMessage::Key)[0].code, static_cast<int>(Key::PageUp));
    EXPECT_EQ(script_->CountCommand(kCommandEscape, 0), 1);
    ASSERT_EQ(Of(DialogMessage::Wheel).size(), 1u);
    EXPECT_EQ(Of(DialogMessage::Wheel)[0].code, -2);
  });
}

TEST_F(ChartControlsTest, CheckBoxScrollBarAndTableTellAndShow) {
  Run([&](WindowRef window) {
    auto* box = dynamic_cast<QCheckBox*>(desktop_.ControlOf(window, kBoxId));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("RPM"));
    desktop_.SetChecked(window, kBoxId, true);
    EXPECT_EQ(script_->CountCommand(kBoxId, 0), 0) << "the program's own change is not news";
    box->click();
    EXPECT_EQ(script_->CountCommand(kBoxId, 0), 1);
    EXPECT_FALSE(desktop_.IsChecked(window, kBoxId));

    desktop_.SetScrollBar(window, kBarId, {0, 500, 100, 500});
    auto* bar = dynamic_cast<QScrollBar*>(desktop_.ControlOf(window, kBarId));
    ASSERT_NE(bar, nullptr);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    ASSERT_EQ(Of(DialogMessage::HorizontalScroll).size(), 1u);
    EXPECT_EQ(Of(DialogMessage::HorizontalScroll)[0].code, static_cast<int>(ScrollCode::PageBack));
    EXPECT_EQ(desktop_.GetScrollPosition(window, kBarId), 400);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(desktop_.GetScrollPosition(window, kBarId), 390) << "an arrow: a tenth of a page";

    desktop_.SetTable(window, kTableId, {{"Load", "Ratio"}, {{"1", "1.25"}, {"2", "1.3"}}});
    auto* table = dynamic_cast<QTableWidget*>(desktop_.ControlOf(window, kTableId));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("1.3"));
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("Ratio"));
    EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
  });
}

TEST_F(ChartControlsTest, PlacedTextLandsByItsAlignedPointPaintAfterPaint) {
  PixelSize measured;
  paint_ = [&](Canvas& canvas, PixelSize size) {
    canvas.FillRectangle({0, 0, size.width, size.height}, {255, 255, 255});
    canvas.SetTextColour({0, 0, 0});
    measured = canvas.MeasureText("12:30");
    // Ending at x 150, its middle on y 30: as a value axis places its labels.
    canvas.PlacedText({{150, 30}, TextAlign::End, TextAlign::Centre}, "12:30");
  };
  Run([&](WindowRef window) {
    QWidget* canvas = desktop_.ControlOf(window, kCanvasId);
    const QFontMetrics metrics(canvas->font());
    for (int paint = 0; paint < 2; ++paint) {  // the second from the laid-out text
      desktop_.Redraw(window, kCanvasId);
      Settle();
      EXPECT_EQ(measured.width, metrics.horizontalAdvance(QStringLiteral("12:30")));
      EXPECT_EQ(measured.height, metrics.height());
      const QImage picture = canvas->grab().toImage();
      const auto [first, last] =
          InkColumns(picture, 30 - measured.height / 2, 30 + measured.height / 2 + 1);
      EXPECT_GE(first, 150 - measured.width - 1) << paint;
      EXPECT_LE(last, 150) << paint;
      EXPECT_GT(last, 150 - measured.width / 2) << paint;
      EXPECT_EQ(InkColumns(picture, 0, 30 - measured.height / 2 - 1).second, -1) << "none above";
      EXPECT_EQ(InkColumns(picture, 30 + measured.height / 2 + 2, picture.height()).second, -1)
          << "none below";
    }
  });
}

TEST_F(ChartControlsTest, AWindowThatIsNotModalRunsBesideItsOwnerUntilEnded) {
  Run([&](WindowRef owner) {
    int ticks = 0;
    bool escaped = false;
    const WindowRef chart = desktop_.OpenWindow(
        ChartTemplate(), owner, [&](Desktop& desktop, WindowRef self, const DialogEvent& event) {
          if (event.message == DialogMessage::Init) {
            desktop.SetTimer(self, 7, 10);
          } else if (event.message == DialogMessage::Timer) {
            ++ticks;
          } else if (event.message == DialogMessage::Command && event.id == kCommandEscape) {
            escaped = true;
            desktop.EndDialog(self, 0);
          }
          return true;
        });
    QWidget* window = desktop_.WindowOf(chart);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    desktop_.SetTitle(chart, "drive.csv");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("drive.csv"));
    QTest::qWait(100);  // the owner's modal loop delivers the window's timer
    EXPECT_GT(ticks, 2);
    QTest::keyClick(desktop_.ControlOf(chart, kCanvasId), Qt::Key_Escape);
    EXPECT_TRUE(escaped);
    Settle();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(desktop_.WindowOf(chart), nullptr) << "gone once ended";
  });
}

TEST_F(ChartControlsTest, SavedPictureIsAPngOfTheDrawingAndAFailedSaveSaysWhy) {
  QTemporaryDir folder;
  const std::string path = QDir(folder.path()).filePath(QStringLiteral("chart.png")).toStdString();
  EXPECT_EQ(desktop_.SavePicture(path, {120, 80},
                                 [](Canvas& canvas) {
                                   Paint(canvas, PixelSize{120, 80});
                                 }),
            "");
  const QImage saved(QString::fromStdString(path));
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), QSize(120, 80));
  EXPECT_EQ(saved.pixelColor(30, 30), QColor(10, 200, 30));
  EXPECT_EQ(saved.pixelColor(30, 10), QColor(255, 0, 0));
  const std::string failure =
      desktop_.SavePicture(path + "/no/such/folder.png", {10, 10}, [](Canvas&) {});
  EXPECT_NE(failure.find("could not be saved"), std::string::npos) << failure;
}

struct LineCase {
  const char* what;
  std::vector<PixelPoint> points;
  PixelBox clip;  // an empty box: none
  QImage::Format format;
  QPoint shift;  // the painter's translation (px)
};

TEST(PainterCanvasLines, OnePixelLinesSetTheNearestPixelsInsideTheClip) {
  const std::vector<LineCase> cases{
      {"shallow and steep, both ways, ties",
       {{2, 2}, {30, 9}, {26, 1}, {29, 30}, {5, 26}, {9, 24}, {1, 3}},
       {},
       QImage::Format_RGB32,
       {}},
      {"many points on a few columns, as a thinned line",
       {{3, 20}, {3, 4}, {3, 28}, {3, 15}, {4, 16}, {4, 2}, {4, 9}, {7, 30}, {7, 30}, {8, 1}},
       {},
       QImage::Format_ARGB32_Premultiplied,
       {}},
      {"clipped on every side",
       {{-5, 12}, {40, 14}, {17, -3}, {15, 40}},
       {4, 6, 28, 25},
       QImage::Format_RGB32,
       {}},
      {"a translated painter",
       {{0, 0}, {20, 7}, {20, 20}},
       {1, 1, 18, 30},
       QImage::Format_RGB32,
       {6, 3}},
      {"an image the painter draws through Qt",
       {{2, 5}, {25, 5}, {25, 28}, {4, 28}},
       {},
       QImage::Format_RGB16,
       {}},
  };
  for (const LineCase& line : cases) {
    QImage image(34, 34, line.format);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.translate(line.shift);
      qt::PainterCanvas canvas(painter);
      canvas.SetPen({255, 0, 0});
      if (line.clip.Width() > 0) {
        canvas.ClipTo(line.clip);
      }
      canvas.Polyline(line.points);
    }
    std::set<std::pair<int, int>> expected;
    for (std::size_t i = 1; i < line.points.size(); ++i) {
      AddNearestPixels(line.points[i - 1], line.points[i], expected);
    }
    expected.insert({line.points.back().x, line.points.back().y});
    std::set<std::pair<int, int>> inside;
    for (const auto& [x, y] : expected) {
      const bool clipped = line.clip.Width() > 0 && !line.clip.Contains({x, y});
      const QPoint at = QPoint(x, y) + line.shift;
      if (!clipped && image.rect().contains(at)) {
        inside.insert({at.x(), at.y()});
      }
    }
    std::set<std::pair<int, int>> drawn;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) != QColor(Qt::white)) {
          EXPECT_EQ(image.pixelColor(x, y), QColor(255, 0, 0)) << line.what;
          drawn.insert({x, y});
        }
      }
    }
    EXPECT_EQ(drawn, inside) << line.what;
  }
}

}  // namespace
}  // namespace zav
