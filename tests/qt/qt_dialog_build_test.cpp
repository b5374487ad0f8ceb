// Dialogs built from templates on the Qt host: every control at its place with its kind's
// look and text, the menu bar above the client area, the toolbar strip, captions that do not
// fit, and the drop-down list's notifications.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolBar>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/qt/dialog_font.h"
#include "hosts/qt/dialog_units.h"
#include "hosts/qt/level_bar.h"
#include "hosts/qt/qt_desktop.h"
#include "hosts/qt/toolbar_buttons.h"
#include "resources/main_template.h"
#include "resources/menu.h"
#include "resources/parameters_template.h"
#include "tests/qt/shown_dialog.h"
#include "tests/qt/test_templates.h"

namespace zav {
namespace {

using test::ShownDialogTest;

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment Horizontal(Qt::Alignment alignment) {
  return alignment & Qt::AlignHorizontal_Mask;
}

// What each kind must look like; `text` is the template's.
void ExpectLooksLike(ControlKind kind, QWidget& widget, const QString& text) {
  auto* edit = dynamic_cast<QLineEdit*>(&widget);
  auto* label = dynamic_cast<QLabel*>(&widget);
  switch (kind) {
    case ControlKind::ValueEdit:
    case ControlKind::StatusEdit:
    case ControlKind::NameEdit:
    case ControlKind::InputEdit: {
      ASSERT_NE(edit, nullptr);
      const Qt::Alignment expected = kind == ControlKind::StatusEdit ? Qt::AlignHCenter
                                     : kind == ControlKind::NameEdit ? Qt::AlignLeft
                                                                     : Qt::AlignRight;
      EXPECT_EQ(Horizontal(edit->alignment()), expected);
      EXPECT_EQ(edit->isReadOnly(), kind != ControlKind::InputEdit);
      EXPECT_TRUE(edit->hasFrame());
      // Tab goes only to what the fitter can change; a read-only value takes a click.
      EXPECT_EQ(static_cast<bool>(edit->focusPolicy() & Qt::TabFocus),
                kind == ControlKind::InputEdit);
      EXPECT_EQ(edit->text(), text);
      break;
    }
    case ControlKind::Label:
    case ControlKind::UnitLabel:
    case ControlKind::FieldLabel: {
      ASSERT_NE(label, nullptr);
      const Qt::Alignment expected = kind == ControlKind::Label ? (Qt::AlignLeft | Qt::AlignTop)
                                     : kind == ControlKind::UnitLabel
                                         ? (Qt::AlignLeft | Qt::AlignVCenter)
                                         : Qt::Alignment(Qt::AlignCenter);
      EXPECT_EQ(label->alignment(), expected);
      EXPECT_TRUE(label->wordWrap());
      EXPECT_EQ(label->textFormat(), Qt::PlainText);
      EXPECT_EQ(label->text(), text);
      break;
    }
    case ControlKind::ProgressBar:
      EXPECT_NE(dynamic_cast<qt::LevelBar*>(&widget), nullptr);
      EXPECT_EQ(widget.focusPolicy(), Qt::NoFocus);
      break;
    case ControlKind::GroupBox:
      ASSERT_NE(dynamic_cast<QGroupBox*>(&widget), nullptr);
      EXPECT_EQ(dynamic_cast<QGroupBox*>(&widget)->title(), text);
      break;
    case ControlKind::DropDownList:
      ASSERT_NE(dynamic_cast<QComboBox*>(&widget), nullptr);
      EXPECT_FALSE(dynamic_cast<QComboBox*>(&widget)->isEditable());
      EXPECT_TRUE(widget.focusPolicy() & Qt::TabFocus);
      break;
    case ControlKind::PushButton:
      ASSERT_NE(dynamic_cast<QPushButton*>(&widget), nullptr);
      EXPECT_FALSE(dynamic_cast<QPushButton*>(&widget)->autoDefault());
      EXPECT_EQ(dynamic_cast<QPushButton*>(&widget)->text(), text);
      break;
    case ControlKind::Toolbar:
      EXPECT_NE(dynamic_cast<QToolBar*>(&widget), nullptr);
      break;
    case ControlKind::VerticalSlider: {
      auto* slider = dynamic_cast<QSlider*>(&widget);
      ASSERT_NE(slider, nullptr);
      EXPECT_EQ(slider->orientation(), Qt::Vertical);
      EXPECT_FALSE(slider->focusPolicy() & Qt::TabFocus);
      break;
    }
    case ControlKind::CanvasControl:
    case ControlKind::CheckBox:
    case ControlKind::HorizontalScrollBar:
    case ControlKind::Table:
      break;  // the chart controls have tests of their own
  }
}

class EveryKindControlTest : public ShownDialogTest,
                             public testing::WithParamInterface<ControlTemplate> {};

TEST_P(EveryKindControlTest, StandsAtItsRectWithTheLookAndTextOfItsKind) {
  const ControlTemplate control = GetParam();
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    QWidget* widget = desktop_.ControlOf(window, control.id);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), desktop_.ClientAreaOf(window));
    const QRect expected = qt::PixelRect(qt::MeasureBaseUnits(desktop_.DialogFont()), control.rect);
    if (control.kind == ControlKind::DropDownList) {
      // The template's height is the open list's; closed, the list is as high as its font.
      EXPECT_EQ(widget->pos(), expected.topLeft());
      EXPECT_EQ(widget->width(), expected.width());
      EXPECT_LT(widget->height(), expected.height());
    } else {
      EXPECT_EQ(widget->geometry(), expected);
    }
    ExpectLooksLike(control.kind, *widget, FromView(control.text));
  });
}

std::string ControlName(const testing::TestParamInfo<ControlTemplate>& info) {
  return "Control" + std::to_string(info.param.id);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, EveryKindControlTest,
                         testing::ValuesIn(test::EveryKindTemplate().controls.begin(),
                                           test::EveryKindTemplate().controls.end()),
                         ControlName);

using DialogBuildTest = ShownDialogTest;

TEST_F(DialogBuildTest, MainWindowTemplateHoldsEveryControlItNames) {
  RunShown(MainTemplate(), [&](WindowRef window) {
    for (const ControlTemplate& control : MainTemplate().controls) {
      QWidget* widget = desktop_.ControlOf(window, control.id);
      ASSERT_NE(widget, nullptr) << control.id;
      ExpectLooksLike(control.kind, *widget, FromView(control.text));
    }
    EXPECT_EQ(desktop_.WindowOf(window)->windowTitle(), "ZAV Monitor 2.04a");
  });
}

// Dialog units become the pixels the platform gives them, rounded to the nearest pixel, in
// the base units of the dialog font: under the template's own 6 x 13 the "Temperature" row
// of the Parameters dialog at (12, 27) dialog units is at (18, 44), its edit at (78, 27) of
// 42 x 11 at (117, 44) of 63 x 18, the dialog itself 410 x 219 is 615 x 356.
TEST_F(DialogBuildTest, DialogUnitsRoundToTheNearestPixel) {
  const qt::BaseUnits units = qt::MeasureBaseUnits(desktop_.DialogFont());
  RunShown(ParametersTemplate(), [&](WindowRef window) {
    EXPECT_EQ(desktop_.ControlOf(window, 2013)->pos(),
              QPoint(qt::HorizontalPixels(units, 12), qt::VerticalPixels(units, 27)));
    EXPECT_EQ(desktop_.ControlOf(window, 2042)->geometry(), qt::PixelRect(units, {78, 27, 42, 11}));
    EXPECT_EQ(desktop_.ClientAreaOf(window)->size(), qt::PixelSize(units, {6, 5, 410, 219}));
  });
  constexpr qt::BaseUnits kOld = qt::kTemplateBaseUnits;
  EXPECT_EQ(qt::PixelRect(kOld, {78, 27, 42, 11}), QRect(117, 44, 63, 18));
  EXPECT_EQ(qt::PixelSize(kOld, {6, 5, 410, 219}), QSize(615, 356));
  EXPECT_EQ(qt::HorizontalPixels(kOld, 1), 2);  // 1.5
  EXPECT_EQ(qt::VerticalPixels(kOld, 4), 7);    // 6.5
  EXPECT_EQ(qt::VerticalPixels(kOld, 8), 13);
  EXPECT_EQ(qt::HorizontalPixels({7, 15}, 410), 718);  // 717.5
}

TEST_F(DialogBuildTest, ClientAreaOfTheTemplateSizeStartsBelowTheMenuBar) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    QWidget* dialog = desktop_.WindowOf(window);
    QWidget* client = desktop_.ClientAreaOf(window);
    auto* menuBar = dialog->findChild<QMenuBar*>();
    ASSERT_NE(menuBar, nullptr);
    EXPECT_GT(menuBar->height(), 0);
    EXPECT_EQ(client->y(), menuBar->geometry().bottom() + 1);
    EXPECT_EQ(client->size(), qt::PixelSize(qt::MeasureBaseUnits(desktop_.DialogFont()),
                                            test::EveryKindTemplate().rect));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());  // no sizing border
  });
}

TEST_F(DialogBuildTest, MenuBarHoldsTheMenuResourceAndItemsSendTheirCommands) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    auto* menuBar = desktop_.WindowOf(window)->findChild<QMenuBar*>();
    ASSERT_NE(menuBar, nullptr);
    QStringList titles;
    for (QAction* menu : menuBar->actions()) {
      titles << menu->text();
    }
    // The menus' own names, each with its Alt mnemonic; "Read from ZAV" answers Ctrl+R.
    EXPECT_EQ(titles, QStringList({"&File", "&ZAV", "&Info"}));
    QAction* read = menuBar->actions().at(1)->menu()->actions().at(0);
    EXPECT_EQ(read->text(), "Read from ZAV");
    EXPECT_EQ(read->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    read->trigger();
    menuBar->actions().at(2)->menu()->actions().at(0)->trigger();
  });
  EXPECT_EQ(Script().CountCommand(kCommandReadFromZav, 0), 1);
  EXPECT_EQ(Script().CountCommand(kCommandZavVersion, 0), 1);
}

TEST_F(DialogBuildTest, GroupBoxLiesBehindTheControlsItFrames) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    QWidget* client = desktop_.ClientAreaOf(window);
    for (const int id : {test::kValueEditId, test::kLabelId, test::kPushButtonId}) {
      QWidget* inside = desktop_.ControlOf(window, id);
      EXPECT_EQ(client->childAt(inside->geometry().center()), inside) << id;
    }
  });
}

TEST_F(DialogBuildTest, CaptionThatDoesNotFitCarriesItsFullTextAsTooltip) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    QWidget* cut = desktop_.ControlOf(window, test::kLongCaptionId);
    EXPECT_EQ(cut->toolTip(), test::kLongCaption);
    EXPECT_TRUE(desktop_.ControlOf(window, test::kLabelId)->toolTip().isEmpty());
    desktop_.SetText(window, test::kLongCaptionId, "Delay");
    EXPECT_TRUE(cut->toolTip().isEmpty());
  });
}

TEST_F(DialogBuildTest, TextsGoInAndOutAsUtf8AndAmpersandIsNoMnemonic) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    for (const int id : {test::kValueEditId, test::kLabelId, test::kPushButtonId, test::kGroupBoxId,
                         test::kFieldLabelId}) {
      desktop_.SetText(window, id, "°C & mBar");
      EXPECT_EQ(desktop_.GetText(window, id), "°C & mBar") << id;
    }
    EXPECT_EQ(dynamic_cast<QPushButton*>(desktop_.ControlOf(window, test::kPushButtonId))->text(),
              "°C && mBar");
    EXPECT_EQ(desktop_.GetText(window, 9876), "");  // no such control
  });
}

TEST_F(DialogBuildTest, ToolbarButtonsShowTheStripImagesAndSendTheirCommands) {
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    desktop_.AddToolbarButtons(window, test::kToolbarId, MainToolbarButtons());
    auto* toolbar = dynamic_cast<QToolBar*>(desktop_.ControlOf(window, test::kToolbarId));
    ASSERT_EQ(toolbar->actions().size(), kToolbarImageCount);
    for (QAction* action : toolbar->actions()) {
      EXPECT_FALSE(action->icon().isNull());
      EXPECT_EQ(toolbar->widgetForAction(action)->focusPolicy(), Qt::NoFocus);
    }
    toolbar->actions().at(2)->trigger();
  });
  EXPECT_EQ(Script().CountCommand(kCommandReadFromZav, 0), 1);
}

TEST(ToolbarImageTest, StripHoldsFiveDifferentSixteenPixelImages) {
  std::vector<QImage> images;
  for (int index = 0; index < kToolbarImageCount; ++index) {
    const QIcon icon = qt::ToolbarImage(index);
    ASSERT_FALSE(icon.isNull()) << index;
    EXPECT_EQ(icon.availableSizes(), QList<QSize>({QSize(16, 16)}));
    images.push_back(icon.pixmap(16, 16).toImage());
    for (std::size_t other = 0; other + 1 < images.size(); ++other) {
      EXPECT_NE(images[other], images.back()) << index;
    }
  }
  EXPECT_TRUE(qt::ToolbarImage(kToolbarImageCount).isNull());
}

TEST_F(DialogBuildTest, DropDownListSendsSelectionChangeForUserChoicesOnly) {
  const int id = test::kDropDownListId;
  RunShown(test::EveryKindTemplate(), [&](WindowRef window) {
    for (const char* port : {"COM1", "COM2", "COM3", "COM4"}) {
      desktop_.AddListEntry(window, id, port);
    }
    desktop_.SelectListEntry(window, id, 2);
    EXPECT_EQ(desktop_.SelectedListEntry(window, id), 2);
    EXPECT_EQ(desktop_.GetText(window, id), "COM3");
    EXPECT_EQ(Script().CountCommand(id, kSelectionChange), 0);
    QTest::keyClick(desktop_.ControlOf(window, id), Qt::Key_Down);  // the user steps on
    EXPECT_EQ(desktop_.SelectedListEntry(window, id), 3);
    EXPECT_EQ(Script().CountCommand(id, kSelectionChange), 1);
    desktop_.SelectListEntry(window, id, 9);  // outside the list
    EXPECT_EQ(desktop_.SelectedListEntry(window, id), -1);
  });
  EXPECT_EQ(Script().CountCommand(id, kSelectionChange), 1);
}

}  // namespace
}  // namespace zav
