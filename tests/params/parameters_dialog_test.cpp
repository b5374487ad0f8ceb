// The Parameters dialog on the headless host: what it shows on opening, the chart it
// draws, the formula on trackbar notifications, and "Ok".

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "params/parameter_formula.h"
#include "params/parameter_set.h"
#include "params/parameters_dialog.h"
#include "resources/parameters_template.h"
#include "tests/params/params_harness.h"

namespace zav {
namespace {

using headless::DrawOp;
using testing::kMillisecond;

constexpr int kDialog = kParametersTemplateId;
constexpr Colour kGreen{0, 255, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kBlack{0, 0, 0};

// The first green line drawn in `ops`, as the ends of the GAS line.
std::optional<GasLine> GreenLineIn(const std::vector<DrawOp>& ops) {
  for (std::size_t i = 0; i + 2 < ops.size(); ++i) {
    if (ops[i].kind == DrawOp::Kind::Pen && ops[i].colour == kGreen &&
        ops[i + 1].kind == DrawOp::Kind::MoveTo && ops[i + 2].kind == DrawOp::Kind::LineTo) {
      EXPECT_EQ(ops[i + 1].x1, 342);
      EXPECT_EQ(ops[i + 2].x1, 512);
      return GasLine{ops[i + 1].y1, ops[i + 2].y1};
    }
  }
  return std::nullopt;
}

class ParametersDialogTest : public ::testing::Test {
 protected:
  ParametersDialogTest() {
    link.desktop = &desktop;
    ApplyDefaults(link.image);
    state.imageHasSource = true;  // "Default values"
  }

  // Opens the dialog; `script` runs once it is open, then its close box is pressed.
  void Run(const std::function<void()>& script) {
    desktop.At(1 * kMillisecond, script);
    desktop.At(2 * kMillisecond, [this] { desktop.RequestClose(kDialog); });
    result = RunParametersDialog(link, state);
  }
  void RunUntouched() {
    Run([] {});
  }

  WindowRef Window() const { return desktop.Newest(kDialog)->window; }
  std::string Text(int controlId) const { return desktop.Control(kDialog, controlId).text; }
  int Position(int trackbar) const { return desktop.Control(kDialog, trackbar).sliderPosition; }
  void Type(int edit, const std::string& text) { desktop.SetText(Window(), edit, text); }

  // The user drags a trackbar (or only clicks its thumb) and the dialog is told.
  void Move(int trackbar, int position) {
    desktop.SetSliderPosition(Window(), trackbar, position);
    desktop.Scroll(kDialog, trackbar);
  }
  void Paint() {
    const headless::DialogRecord* record = desktop.Newest(kDialog);
    record->proc(desktop, record->window, {DialogMessage::Paint, 0, 0});
  }
  // What the next step draws.
  std::vector<DrawOp> Drawn(const std::function<void()>& step) {
    const std::size_t before = desktop.Newest(kDialog)->drawing.size();
    step();
    const auto& drawing = desktop.Newest(kDialog)->drawing;
    return {drawing.begin() + static_cast<std::ptrdiff_t>(before), drawing.end()};
  }

  headless::VirtualClock clock;
  headless::HeadlessDesktop desktop{clock};
  Link link;
  ParameterState state;
  int result = -1;
};

const ControlTemplate& TemplateControl(int id) {
  for (const ControlTemplate& control : ParametersTemplate().controls) {
    if (control.id == id) {
      return control;
    }
  }
  throw std::out_of_range("no control " + std::to_string(id));
}

TEST(ParametersTemplateTest, ListsTrackbarsThenEditsInTabOrderThenTheRest) {
  const auto controls = ParametersTemplate().controls;
  ASSERT_EQ(controls.size(), 44u);
  EXPECT_EQ(controls[0].id, kLeftTrackbar);
  EXPECT_EQ(controls[1].id, kRightTrackbar);
  for (int i = 0; i < 13; ++i) {
    const ControlTemplate& edit = controls[static_cast<std::size_t>(2 + i)];
    EXPECT_EQ(edit.id, 2030 + i) << "edit 2030 (Delay) has the focus, then ascending";
    EXPECT_EQ(edit.kind, ControlKind::InputEdit);
  }
  EXPECT_EQ(controls[39].id, kParametersOkButton);
  EXPECT_FALSE(ParametersTemplate().minimizeBox || ParametersTemplate().maximizeBox ||
               ParametersTemplate().sizingBorder);
}

TEST(ParametersTemplateTest, EachCaptionStandsOnTheRowOfItsEdit) {
  for (int i = 0; i < kEditableParameters; ++i) {
    const ParameterMember& member = kParameterSet[static_cast<std::size_t>(i)];
    const DialogRect caption = TemplateControl(member.dialogCaption).rect;
    const DialogRect edit = TemplateControl(member.dialogEdit).rect;
    EXPECT_EQ(caption.y, edit.y) << member.caption;
    EXPECT_EQ(edit.x, caption.x + 66) << member.caption;
  }
}

TEST_F(ParametersDialogTest, OpeningShowsRegisters80To92InTheirEdits) {
  link.mainWindow = WindowRef{42};
  for (std::size_t i = 0; i < 13; ++i) {
    link.image.values[i] = static_cast<std::uint16_t>(60000 + i);
  }
  RunUntouched();
  EXPECT_EQ(Text(2042), "60000") << "Temperature";
  EXPECT_EQ(Text(2030), "60003") << "Delay";
  EXPECT_EQ(Text(2031), "60006") << "Preheat";
  EXPECT_EQ(Text(2032), "60004") << "Min. delta p ";
  EXPECT_EQ(Text(2039), "60012") << "Petrol time";
  EXPECT_EQ(desktop.Newest(kDialog)->owner, WindowRef{42}) << "owned by the main window";
}

TEST_F(ParametersDialogTest, OpeningAssignsTheCaptionsOfRowsAndGroups) {
  RunUntouched();
  EXPECT_EQ(Text(2001), "Petrol time");
  EXPECT_EQ(Text(2003), "Coeficient");
  EXPECT_EQ(Text(2008), "Min. delta p ");
  EXPECT_EQ(Text(2013), "Temperature");
  EXPECT_EQ(Text(2014), "Switch to gas parameters");
  EXPECT_EQ(Text(2015), "Back on petrol switch parameters");
  EXPECT_EQ(Text(2016), "Formula parameters");
  EXPECT_EQ(Text(2024), "°C");
  EXPECT_EQ(Text(2029), "Ok");
}

TEST_F(ParametersDialogTest, DefaultsPlaceTheTrackbarsAt15And19AndKeepTheEdits) {
  RunUntouched();
  EXPECT_EQ(desktop.Control(kDialog, kLeftTrackbar).sliderHigh, 50);
  EXPECT_EQ(desktop.Control(kDialog, kRightTrackbar).sliderHigh, 25);
  EXPECT_EQ(Position(kLeftTrackbar), 15);
  EXPECT_EQ(Position(kRightTrackbar), 19);
  EXPECT_EQ(Text(kYAxisEdit), "4000") << "no formula before a notification";
  EXPECT_EQ(Text(kNumeratorEdit), "48160");
}

TEST_F(ParametersDialogTest, AllZeroRegistersPlaceBothTrackbarsAtTheTop) {
  link.image = RegisterImage{};
  RunUntouched();
  EXPECT_EQ(Position(kLeftTrackbar), 0);
  EXPECT_EQ(Position(kRightTrackbar), 0);
}

TEST_F(ParametersDialogTest, FirstNotificationAtTheDefaultsGives3983And48140) {
  Run([this] { Move(kLeftTrackbar, 15); });
  EXPECT_EQ(Text(kYAxisEdit), "3983");
  EXPECT_EQ(Text(kNumeratorEdit), "48140");
}

TEST_F(ParametersDialogTest, ZeroXAxisShows599AndLeavesTheRegistersAlone) {
  link.image = RegisterImage{};
  Run([this] { Move(kRightTrackbar, 0); });
  EXPECT_EQ(Text(kXAxisEdit), "599");
  EXPECT_EQ(Text(kYAxisEdit), "1883");
  EXPECT_EQ(Text(kNumeratorEdit), "58207");
  EXPECT_EQ(link.image.values, RegisterImage{}.values);
}

TEST_F(ParametersDialogTest, BothTrackbarsAtTheBottomGive8883And49783) {
  Run([this] {
    Move(kLeftTrackbar, 50);
    Move(kRightTrackbar, 25);
  });
  EXPECT_EQ(Text(kYAxisEdit), "8883");
  EXPECT_EQ(Text(kNumeratorEdit), "49783");
}

TEST_F(ParametersDialogTest, NotificationReadsTheXAxisRegisterNotItsEdit) {
  Run([this] {
    Type(kXAxisEdit, "5000");
    Move(kLeftTrackbar, 50);
    Move(kRightTrackbar, 25);
  });
  EXPECT_EQ(Text(kYAxisEdit), "8883");
}

TEST_F(ParametersDialogTest, NegativeYAxisIsShownUnsignedAndOkThenFails) {
  ImageValue(link.image, 87) = 5000;
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Run([this] {
    Move(kLeftTrackbar, 50);
    Move(kRightTrackbar, 0);
    desktop.Press(kDialog, kParametersOkButton);
  });
  EXPECT_EQ(Text(kYAxisEdit), "4294962967");
  EXPECT_EQ(Text(kNumeratorEdit), "65535");
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].text, "Wrong filling of parameters");
  EXPECT_EQ(link.cycle.sendRequest, SendRequest::None);
}

TEST_F(ParametersDialogTest, NotificationWithUnchangedPositionsRewritesBothEdits) {
  Run([this] {
    Type(kYAxisEdit, "1");
    Type(kNumeratorEdit, "2");
    desktop.Scroll(kDialog, kLeftTrackbar);
  });
  EXPECT_EQ(Text(kYAxisEdit), "3983");
  EXPECT_EQ(Text(kNumeratorEdit), "48140");
}

TEST_F(ParametersDialogTest, PaintDrawsTheFrameReferenceCaptionsAndGasLine) {
  std::vector<DrawOp> ops;
  Run([&] { ops = Drawn([this] { Paint(); }); });
  ASSERT_EQ(ops.size(), 13u);
  using K = DrawOp::Kind;
  EXPECT_EQ(ops[0].kind, K::Rectangle);
  EXPECT_EQ(std::tie(ops[0].x1, ops[0].y1, ops[0].x2, ops[0].y2),
            std::make_tuple(316, 153, 530, 342));
  EXPECT_EQ(ops[1].kind, K::Pen);
  EXPECT_EQ(ops[1].colour, kRed);
  EXPECT_EQ(std::tie(ops[2].x1, ops[2].y1), std::make_tuple(342, 297));
  EXPECT_EQ(std::tie(ops[3].x1, ops[3].y1), std::make_tuple(512, 251));
  EXPECT_EQ(ops[4].colour, kRed);
  EXPECT_EQ(std::tie(ops[5].x1, ops[5].y1, ops[5].text), std::make_tuple(450, 290, "BA"));
  EXPECT_EQ(ops[6].colour, kGreen);
  EXPECT_EQ(std::tie(ops[7].x1, ops[7].y1, ops[7].text), std::make_tuple(358, 180, "GAS"));
  EXPECT_EQ(ops[8].kind, K::Pen);
  EXPECT_EQ(ops[8].colour, kBlack) << "the previous pen is put back";
  EXPECT_EQ(GreenLineIn(ops), (GasLine{227 + 15, 200 + 2 * 19}));
  EXPECT_EQ(ops[12].kind, K::Pen);
  EXPECT_EQ(ops[12].colour, kBlack);
}

TEST_F(ParametersDialogTest, NotificationRedrawsTheFrameBeforeItsLine) {
  std::vector<DrawOp> ops;
  Run([&] { ops = Drawn([this] { Move(kLeftTrackbar, 20); }); });
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops[0].kind, DrawOp::Kind::Rectangle) << "the frame wipes the old line";
  EXPECT_EQ(GreenLineIn(ops), (GasLine{247, 237})) << "right end at 19: 199 + 2 x 19";
}

TEST_F(ParametersDialogTest, NotificationLineLiesOnePixelAboveTheRepaintAtSomePositions) {
  std::optional<GasLine> notified;
  std::optional<GasLine> repainted;
  Run([&] {
    notified = GreenLineIn(Drawn([this] {
      desktop.SetSliderPosition(Window(), kRightTrackbar, 1);
      Move(kLeftTrackbar, 1);
    }));
    repainted = GreenLineIn(Drawn([this] { Paint(); }));
  });
  EXPECT_EQ(notified, (GasLine{227, 201}));
  EXPECT_EQ(repainted, (GasLine{228, 202}));
}

TEST_F(ParametersDialogTest, OkStoresAllEditsAndOkInTheQuestionRequestsTheWrite) {
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Run([this] {
    for (std::size_t i = 0; i < 13; ++i) {
      Type(kParameterEdits[i], std::to_string(100 + i));
    }
    desktop.Press(kDialog, kParametersOkButton);
  });
  for (std::size_t i = 0; i < 13; ++i) {
    EXPECT_EQ(link.image.values[i], 100 + i) << "register " << 80 + i;
  }
  EXPECT_EQ(RegisterValue(link.image, 93), 0) << "members 14 and 15 have no edit";
  ASSERT_EQ(desktop.Messages().size(), 1u);
  const auto& question = desktop.Messages()[0];
  EXPECT_EQ(question.text, "Send data to ZAV ?");
  EXPECT_EQ(question.caption, "question");
  EXPECT_EQ(question.buttons, MessageButtons::OkCancel);
  EXPECT_EQ(question.icon, MessageIcon::Information);
  EXPECT_EQ(question.owner, Window()) << "asked by the dialog";
  EXPECT_EQ(link.cycle.sendRequest, SendRequest::AwaitPetrol);
}

TEST_F(ParametersDialogTest, OkAnsweredCancelKeepsTheStoredValuesUnsent) {
  desktop.QueueMessageAnswer(MessageAnswer::Cancel);
  Run([this] {
    Type(2042, "77");
    desktop.Press(kDialog, kParametersOkButton);
  });
  EXPECT_EQ(RegisterValue(link.image, 80), 77);
  EXPECT_EQ(link.cycle.sendRequest, SendRequest::None);
}

TEST_F(ParametersDialogTest, OkLeavesTheDialogOpen) {
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Run([this] { desktop.Press(kDialog, kParametersOkButton); });
  EXPECT_EQ(desktop.Newest(kDialog)->closedAt, 2 * kMillisecond) << "closed by its close box";
  EXPECT_EQ(result, 0);
}

TEST_F(ParametersDialogTest, BadDelayStoresRegisters80To82OnlyAndAsksNothing) {
  const RegisterImage before = link.image;
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  Run([this] {
    for (std::size_t i = 0; i < 13; ++i) {
      Type(kParameterEdits[i], std::to_string(7 + i));
    }
    Type(2030, "5x");
    desktop.Press(kDialog, kParametersOkButton);
  });
  EXPECT_EQ(RegisterValue(link.image, 80), 7);
  EXPECT_EQ(RegisterValue(link.image, 81), 8);
  EXPECT_EQ(RegisterValue(link.image, 82), 9);
  for (std::uint8_t address = 83; address <= 92; ++address) {
    EXPECT_EQ(RegisterValue(link.image, address), RegisterValue(before, address));
  }
  ASSERT_EQ(desktop.Messages().size(), 1u);
  const auto& error = desktop.Messages()[0];
  EXPECT_EQ(error.text, "Wrong filling of parameters");
  EXPECT_EQ(error.caption, "Error");
  EXPECT_EQ(error.buttons, MessageButtons::Ok);
  EXPECT_EQ(error.icon, MessageIcon::Error);
  EXPECT_EQ(Text(2030), "5x") << "texts stay as typed";
}

// The template has no Cancel: Escape closes the dialog as its close box does, keeping nothing
// typed; Enter does nothing. With anything differing from what the dialog opened with,
// Escape first asks "Discard the changes?", Cancel the default; a text typed back as it was
// is no change.
TEST_F(ParametersDialogTest, EnterChangesNothingAndEscapeAsksBeforeDiscardingChanges) {
  const std::uint16_t temperatureBefore = RegisterValue(link.image, 92);
  desktop.QueueMessageAnswer(MessageAnswer::Cancel);
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  bool openAfterCancel = false;
  std::string typedAfterCancel;
  Run([&] {
    Type(2042, "9");
    desktop.Press(kDialog, kCommandEnter);
    EXPECT_FALSE(desktop.Newest(kDialog)->closedAt.has_value()) << "Enter leaves it open";
    desktop.Press(kDialog, kCommandEscape);  // asked; Cancel
    openAfterCancel = !desktop.Newest(kDialog)->closedAt.has_value();
    typedAfterCancel = Text(2042);
    desktop.Press(kDialog, kCommandEscape);  // asked; Ok discards
  });
  EXPECT_TRUE(openAfterCancel) << "Cancel keeps the dialog and what was typed";
  EXPECT_EQ(typedAfterCancel, "9");
  const auto& messages = desktop.Messages();
  ASSERT_EQ(messages.size(), 2u);
  for (const auto& message : messages) {
    EXPECT_EQ(message.text, "Discard the changes?");
    EXPECT_EQ(message.buttons, MessageButtons::OkCancel) << "Cancel the default";
    EXPECT_EQ(message.goOnLabel, "Discard");
  }
  EXPECT_EQ(RegisterValue(link.image, 92), temperatureBefore) << "nothing typed is kept";
  EXPECT_EQ(RegisterValue(link.image, 80), 40);
  EXPECT_EQ(desktop.Newest(kDialog)->closedAt, 1 * kMillisecond) << "closed by Escape";
  EXPECT_EQ(result, 0);
}

TEST_F(ParametersDialogTest, EscapeClosesAtOnceWhenNothingDiffersFromTheOpening) {
  Run([this] {
    const std::string opened = Text(2042);
    Type(2042, "41");
    Type(2042, opened);  // typed back as it was
    desktop.Press(kDialog, kCommandEscape);
  });
  EXPECT_TRUE(desktop.Messages().empty());
  EXPECT_EQ(desktop.Newest(kDialog)->closedAt, 1 * kMillisecond) << "closed by Escape";
}

// "Apply to Parameters…" opens the dialog with the trackbars placed: a change to discard.
TEST_F(ParametersDialogTest, EscapeAsksWhenTheTrackbarsWerePlacedForTheDialog) {
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  desktop.At(1 * kMillisecond, [this] { desktop.Press(kDialog, kCommandEscape); });
  desktop.At(2 * kMillisecond, [this] { desktop.RequestClose(kDialog); });
  RunParametersDialogPlaced(link, state, TrackbarPositions{10, 12});
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].text, "Discard the changes?");
  EXPECT_EQ(desktop.Newest(kDialog)->closedAt, 1 * kMillisecond);
}

TEST_F(ParametersDialogTest, HandlesItsFiveMessagesAndLeavesTimersToTheHost) {
  Run([this] {
    EXPECT_FALSE(ParametersProc(link, state, desktop, Window(), {DialogMessage::Timer, 1, 0}));
    EXPECT_TRUE(ParametersProc(link, state, desktop, Window(), {DialogMessage::Command, 1234, 0}));
  });
  EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace zav
