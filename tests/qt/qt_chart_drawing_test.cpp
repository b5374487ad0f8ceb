// Where the chart controls' drawing lands on the Qt host, in window pixels at any screen scale
// (the suite runs these with QT_SCALE_FACTOR=2 too, where a one-pixel line is one window pixel
// wide, drawn at the screen's resolution): one-pixel lines, on the window or on an image, land
// on the pixels nearest to the ideal line, and only where Qt repaints; a placed text lands by
// its aligned point, paint after paint; a saved picture is a PNG with what was drawn, and a
// failed save says so.

#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "hosts/qt/painter_canvas.h"
#include "hosts/qt/qt_desktop.h"
#include "tests/qt/chart_controls_fixture.h"
#include "tests/qt/logical_pixels.h"

namespace zav {
namespace {

using test::ChartControlsTest;
using test::kCanvasId;

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
