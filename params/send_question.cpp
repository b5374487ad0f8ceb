#include "params/send_question.h"

#include "link/poll_cycle.h"

namespace zav {

void OfferParameterWrite(Link& link, const ParameterState& state, WindowRef owner) {
  const MessageAnswer answer =
      link.desktop->ShowMessage(owner, kSendDataQuestion, kQuestionBoxCaption,
                                MessageButtons::OkCancel, MessageIcon::Information);
  if (answer != MessageAnswer::Ok) {
    return;
  }
  if (!state.imageHasSource &&
      !link.desktop->AskToGoOn(owner, kNeverReadQuestion, kQuestionBoxCaption, kWriteAnywayLabel,
                               MessageIcon::Warning)) {
    return;
  }
  RequestParameterWrite(link);
}

}  // namespace zav
