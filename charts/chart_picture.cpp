#include "charts/chart_picture.h"

#include <array>
#include <charconv>

#include "charts/chart_style.h"
#include "charts/offset_canvas.h"
#include "datalog/local_time.h"

namespace zav {

namespace {

using chart_style::kBlack;

constexpr int kCaptionMarginPx = 6;  // left of the caption's text
// The caption's line: room for a dialog font's text with a margin above and below (px).
constexpr int kCaptionHeight = 26;

std::string Fixed(double value, int decimals) {
  std::array<char, 64> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                    std::chars_format::fixed, decimals);
  return std::string(text.data(), result.ptr);
}

bool PlainInName(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

}  // namespace

std::string SpanCaption(std::string_view title, double from, double to) {
  return std::string(title) + " \u00b7 " + Fixed(from, 1) + " s to " + Fixed(to, 1) + " s (" +
         Fixed(to - from, 0) + " s)";
}

std::string ProposedPictureName(std::string_view title, std::int64_t unixMs) {
  std::string name;
  for (const char c : title) {
    if (PlainInName(c)) {
      name += c;
    } else if (name.empty() || name.back() != '-') {
      name += '-';
    }
  }
  return name + "-" + LocalStampForFileName(unixMs) + ".png";
}

void SaveChartPicture(Desktop& desktop, WindowRef window, std::string_view title,
                      std::string_view caption, PixelSize chartSize, std::int64_t unixMs,
                      const std::function<void(Canvas&)>& draw) {
  FileDialogOptions options;
  options.filterCaption = "PNG pictures (*.png)";
  options.filterPattern = "*.png";
  options.defaultExtension = "png";
  options.initialPath = ProposedPictureName(title, unixMs);
  const std::optional<std::string> path = desktop.ChooseFileToSave(window, options);
  if (!path) {
    return;
  }
  const PixelSize size{chartSize.width, chartSize.height + kCaptionHeight};
  const std::string failure = desktop.SavePicture(*path, size, [&](Canvas& canvas) {
    canvas.SetTextColour(kBlack);
    canvas.PlacedText({{kCaptionMarginPx, kCaptionHeight / 2}, TextAlign::Start, TextAlign::Centre},
                      caption);
    OffsetCanvas below(canvas, {0, kCaptionHeight});
    draw(below);
  });
  if (!failure.empty()) {
    desktop.ShowMessage(window, failure, "Chart picture", MessageButtons::Ok, MessageIcon::Warning);
  }
}

}  // namespace zav
