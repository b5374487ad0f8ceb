#include "params/send_question.h"

#include "link/poll_cycle.h"

namespace zav {

void OfferParameterWrite(Link& link, WindowRef owner) {
  const MessageAnswer answer =
      link.desktop->ShowMessage(owner, kSendDataQuestion, kQuestionBoxCaption,
                                MessageButtons::OkCancel, MessageIcon::Information);
  if (answer == MessageAnswer::Ok) {
    RequestParameterWrite(link);
  }
}

}  // namespace zav
