// Every caption of every template fits its box whole in the dialog font, whatever that font:
// the desktop's default and one half again as large. Each window is built on the Qt host
// with the texts the program gives it (the caption lists, the fixed texts, the upgrade's
// waiting text), and each static text, group box and button is measured as it is drawn:
// a static text wrapped at word boundaries within its box, a title or button text on one
// line within the room its frame leaves. The upload's notice of a silent controller, added
// below the progress dialog's template, shows whole and leaves its Cancel button clear.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <string>
#include <vector>

#include "calibrate_window/calibrate_window.h"
#include "calibration/calibration_guide.h"
#include "hosts/qt/control_text.h"
#include "hosts/qt/dialog_font.h"
#include "hosts/qt/qt_desktop.h"
#include "hosts/qt/status_segments.h"
#include "link/link_state.h"
#include "resources/calibrate_template.h"
#include "resources/main_template.h"
#include "resources/parameters_template.h"
#include "resources/petrol_wait_template.h"
#include "resources/transfer_template.h"
#include "tests/qt/dialog_script.h"
#include "texts/captions.h"
#include "ui/main_window.h"
#include "upgrade/upload_silence.h"

namespace zav {
namespace {

constexpr int kCaptionLookTimerId = 1;
constexpr int kCaptionLookDelayMs = 20;
// Room a group box frame keeps beside its title (px, both sides together).
constexpr int kGroupTitleMarginPx = 16;

struct WindowTexts {
  const DialogTemplate& (*dialog)();
  // Gives the window the texts the program gives it at start.
  void (*fill)(Desktop&, WindowRef);
};

const std::vector<WindowTexts>& EveryTemplate() {
  static const std::vector<WindowTexts> kTemplates{
      {&MainTemplate,
       [](Desktop& desktop, WindowRef window) {
         AssignCaptions(desktop, window, kMainCaptions, kFirstMainCaption, kLastMainCaption);
         AssignCaptions(desktop, window, kParameterCaptions, kFirstParameterCaption,
                        kLastParameterCaption);
       }},
      {&ParametersTemplate,
       [](Desktop& desktop, WindowRef window) {
         AssignCaptions(desktop, window, kParameterCaptions, kFirstParametersCaption,
                        kLastParametersCaption);
       }},
      {&TransferTemplate, [](Desktop&, WindowRef) {}},
      // The Calibrate window with its longest instruction (recording on the wrong fuel) and
      // a proposal.
      {&CalibrateTemplate,
       [](Desktop& desktop, WindowRef window) {
         GuideFacts facts;
         facts.operatingState = "Gas";
         facts.recording = Fuel::Petrol;
         facts.recordingSeconds = 754.0;
         facts.recordingCells = 18;
         desktop.SetText(window, kCalibrateGuidance, Instruction(facts));
         desktop.SetText(window, kCalibratePetrolLog, kNoLogText);
         desktop.SetText(window, kCalibrateMessage,
                         "Factors in force: 2.20 and 1.12, from the controller's set (its last "
                         "read or write).\n24 load cells driven on both fuels, 18 with enough "
                         "settled samples; petrol times 2.61 to 6.87 ms.");
         desktop.SetText(window, kCalibrateVerdict,
                         "Proposed factors, from those in force:\n"
                         "  Left        2.20 -> 2.30  (trackbar 15 -> 10)\n"
                         "  Right       1.12 -> 1.20  (trackbar 19 -> 12)\n"
                         "  Y axis      4000 -> 3922  (X axis 599)\n"
                         "  Numerator   1234 -> 1301\n"
                         "Mismatch to the needed ratios (weighted rms): 4.5 % -> 0.6 %");
       }},
      {&PetrolWaitTemplate,
       [](Desktop& desktop, WindowRef window) {
         desktop.SetText(window, kPetrolWaitText,
                         "Waiting for the controller to report \"Petrol\" (at most 10 s more).");
       }},
  };
  return kTemplates;
}

// The size a static text needs, wrapped at word boundaries within `width` (px).
QSize WrappedSize(const QLabel& label, int width) {
  return label.fontMetrics()
      .boundingRect(QRect(0, 0, width, QWIDGETSIZE_MAX),
                    static_cast<int>(label.alignment()) | Qt::TextWordWrap, label.text())
      .size();
}

// The room a push button's frame leaves for its text (px).
QSize ButtonRoom(const QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.rect = button.rect();
  return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).size();
}

// Whether the control's whole text shows; `why` says what was measured against what.
bool TextFits(const QWidget& control, std::string& why) {
  if (const auto* label = dynamic_cast<const QLabel*>(&control)) {
    const QSize room = label->contentsRect().size();
    const QSize needed = WrappedSize(*label, room.width());
    why = "needs " + std::to_string(needed.width()) + "x" + std::to_string(needed.height()) +
          ", has " + std::to_string(room.width()) + "x" + std::to_string(room.height());
    return needed.width() <= room.width() && needed.height() <= room.height();
  }
  if (const auto* button = dynamic_cast<const QPushButton*>(&control)) {
    const QSize room = ButtonRoom(*button);
    const QFontMetrics metrics = button->fontMetrics();
    const QSize needed(metrics.horizontalAdvance(button->text()), metrics.height());
    why = "needs " + std::to_string(needed.width()) + "x" + std::to_string(needed.height()) +
          ", has " + std::to_string(room.width()) + "x" + std::to_string(room.height());
    return needed.width() <= room.width() && needed.height() <= room.height();
  }
  if (const auto* group = dynamic_cast<const QGroupBox*>(&control)) {
    const int needed = group->fontMetrics().horizontalAdvance(group->title());
    why = "needs " + std::to_string(needed) + ", has " + std::to_string(group->width());
    return needed + kGroupTitleMarginPx <= group->width();
  }
  return true;  // not a caption
}

class CaptionsFitTest : public ::testing::TestWithParam<double> {
 protected:
  static QFont FontScaled(double factor) {
    QFont font = qt::ChooseDialogFont(QString());
    font.setPointSizeF(font.pointSizeF() * factor);
    return font;
  }
};

TEST_P(CaptionsFitTest, EveryStaticGroupAndButtonTextFitsItsBoxWhole) {
  QtDesktop desktop(FontScaled(GetParam()));
  for (const WindowTexts& window : EveryTemplate()) {
    const DialogTemplate& dialog = window.dialog();
    int captions = 0;
    test::DialogScript script([&](Desktop& any, WindowRef self, const DialogEvent& event) {
      if (event.message == DialogMessage::Init) {
        window.fill(any, self);
        any.SetTimer(self, kCaptionLookTimerId, kCaptionLookDelayMs);
      } else if (event.message == DialogMessage::Timer && event.id == kCaptionLookTimerId) {
        for (const ControlTemplate& control : dialog.controls) {
          const QWidget* widget = desktop.ControlOf(self, control.id);
          ASSERT_NE(widget, nullptr);
          const QString text = qt::ControlText(*widget);
          std::string why;
          captions += !text.trimmed().isEmpty();
          EXPECT_TRUE(text.isEmpty() || TextFits(*widget, why))
              << "template " << dialog.id << ", control " << control.id << " \""
              << text.toStdString() << "\": " << why;
          EXPECT_TRUE(widget->toolTip().isEmpty()) << control.id << " is marked as cut";
          // A control the template sets in the fixed-pitch font (the Calibrate window's
          // proposal, whose columns must line up) shows in one: a narrow and a wide letter
          // take the same room. The rest are in the dialog's proportional font.
          const QFontMetrics metrics(widget->font());
          EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiii")) ==
                        metrics.horizontalAdvance(QStringLiteral("MMMM")),
                    control.fixedPitch)
              << "template " << dialog.id << ", control " << control.id;
        }
        any.EndDialog(self, 0);
      }
    });
    EXPECT_EQ(desktop.RunDialog(dialog, {}, script.Proc()), 0);
    EXPECT_GT(captions, 0) << "template " << dialog.id << " showed no text";
  }
}

// An hour of silence, the longest notice a fitter is likely to see, in one upload tick (ms).
constexpr int kHourMs = 3600 * 1000;

// The upload dialog after an hour without ACK or NAK, put up by the upload's own code: the
// notice sits below the template's controls, in the window, whole, clear of the Cancel
// button, which keeps its place.
TEST_P(CaptionsFitTest, UploadSilenceNoticeShowsWholeAndLeavesCancelClear) {
  QtDesktop desktop(FontScaled(GetParam()));
  Link link;
  link.desktop = &desktop;
  UploadState upload;
  QRect cancelBefore;
  int looks = 0;
  test::DialogScript script([&](Desktop& any, WindowRef self, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      any.SetTimer(self, kCaptionLookTimerId, kCaptionLookDelayMs);
      return;
    }
    if (event.message != DialogMessage::Timer || event.id != kCaptionLookTimerId) {
      return;
    }
    QWidget& window = *desktop.WindowOf(self);
    QWidget& cancel = *desktop.ControlOf(self, kTransferCancelButton);
    const QRect cancelNow(cancel.mapTo(&window, QPoint(0, 0)), cancel.size());
    if (++looks == 1) {
      cancelBefore = cancelNow;
      FollowUploadAnswers(link, upload, self, kHourMs, std::nullopt);
      return;
    }
    const auto* line = window.findChild<qt::StatusSegments*>(QStringLiteral("statusLine"));
    ASSERT_NE(line, nullptr);
    const QLabel* notice = line->Segment(0);
    ASSERT_NE(notice, nullptr);
    const QRect noticeRect(notice->mapTo(&window, QPoint(0, 0)), notice->size());
    EXPECT_EQ(notice->text().toStdString(), SilentReceiverText(3600)) << "shown whole";
    EXPECT_FALSE(noticeRect.intersects(cancelNow))
        << "notice at y " << noticeRect.top() << ", Cancel " << cancelNow.top() << " to "
        << cancelNow.bottom();
    EXPECT_TRUE(window.rect().contains(noticeRect)) << "the window grew for it";
    EXPECT_EQ(cancelNow, cancelBefore) << "no template control moves";
    any.EndDialog(self, 0);
  });
  EXPECT_EQ(desktop.RunDialog(TransferTemplate(), {}, script.Proc()), 0);
  EXPECT_EQ(looks, 2);
  EXPECT_EQ(link.connection.uploadSilentSeconds, 3600u);
}

// The window grows with the font and keeps its proportions: the main window a font half
// again as large is about half again as wide and high (the base units round to whole pixels).
TEST(DialogFontTest, BaseUnitsGrowWithTheFont) {
  QFont font = qt::ChooseDialogFont(QString());
  const qt::BaseUnits normal = qt::MeasureBaseUnits(font);
  font.setPointSizeF(font.pointSizeF() * 1.5);
  const qt::BaseUnits large = qt::MeasureBaseUnits(font);
  EXPECT_NEAR(large.widthPx, normal.widthPx * 1.5, 1.0);
  EXPECT_NEAR(large.heightPx, normal.heightPx * 1.5, 1.5);
  EXPECT_EQ(qt::ChooseDialogFont(QStringLiteral("DejaVu Sans,17")).pointSize(), 17);
  EXPECT_EQ(qt::ChooseDialogFont(QStringLiteral("  ")), QApplication::font());
}

std::string FontName(const ::testing::TestParamInfo<double>& info) {
  return info.param == 1.0 ? "DefaultFont" : "FontHalfAgainAsLarge";
}

INSTANTIATE_TEST_SUITE_P(Fonts, CaptionsFitTest, ::testing::Values(1.0, 1.5), FontName);

}  // namespace
}  // namespace zav
