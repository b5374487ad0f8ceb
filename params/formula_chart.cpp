#include "params/formula_chart.h"

namespace zav {

namespace {

// Pixel geometry of the chart (px, client area of the dialog).
constexpr int kFrameLeft = 316;
constexpr int kFrameTop = 153;
constexpr int kFrameRight = 530;
constexpr int kFrameBottom = 342;
constexpr int kLineLeftX = 342;
constexpr int kLineRightX = 512;
constexpr int kReferenceLeftY = 297;
constexpr int kReferenceRightY = 251;
constexpr int kPetrolCaptionX = 450;
constexpr int kPetrolCaptionY = 290;
constexpr int kGasCaptionX = 358;
constexpr int kGasCaptionY = 180;

}  // namespace

void DrawChartFrame(Canvas& canvas) {
  canvas.Rectangle(kFrameLeft, kFrameTop, kFrameRight, kFrameBottom);
  canvas.SetPen(kChartRed);
  canvas.MoveTo(kLineLeftX, kReferenceLeftY);
  canvas.LineTo(kLineRightX, kReferenceRightY);
  canvas.SetTextColour(kChartRed);
  canvas.Text(kPetrolCaptionX, kPetrolCaptionY, "BA");
  canvas.SetTextColour(kChartGreen);
  canvas.Text(kGasCaptionX, kGasCaptionY, "GAS");
  canvas.SetPen(kBlack);
}

void DrawGasLine(Canvas& canvas, GasLine line) {
  canvas.SetPen(kChartGreen);
  canvas.MoveTo(kLineLeftX, line.leftY);
  canvas.LineTo(kLineRightX, line.rightY);
  canvas.SetPen(kBlack);
}

}  // namespace zav
