#include "link/poll_cycle.h"

#include "link/block_transfer.h"
#include "link/frames.h"
#include "link/serial_port.h"

namespace zav {

namespace {

constexpr std::uint8_t kFullCredit = 2;

void Call(const std::function<void()>& hook) {
  if (hook) {
    hook();
  }
}

void RaiseReplyCredit(CycleState& cycle) {
  if (cycle.transferCursor < kNoTransfer) {
    ++cycle.replyCredit;
  }
  if (cycle.replyCredit > kFullCredit) {
    cycle.replyCredit = kFullCredit;
  }
}

void CountStatusSilence(Link& link) {
  const std::uint8_t before = link.cycle.statusSilence++;
  if (before > kSilentTicksBeforeClearing - 1) {
    link.cycle.statusSilence = 0;
    link.live.values.fill(0);
  }
}

void StoreImageFrame(Link& link, const ReceivedFrame& frame) {
  ImageValue(link.image, frame.address) = frame.value;
  if (frame.address == link.cycle.transferCursor) {
    ++link.cycle.transferCursor;
  }
  link.cycle.replyCredit = kFullCredit;
  NoteBlockReply(link.connection);
}

void ActOnStatus(Link& link, std::uint16_t status) {
  link.cycle.statusSilence = 0;
  if (link.cycle.sendRequest == SendRequest::AwaitPetrol) {
    if (status == kStatusPetrol) {
      link.cycle.sendRequest = SendRequest::StartWriteNow;
    } else {
      CurrentCommand(link) = kLetterSwitch;
    }
  }
  if (link.hooks.showStatusText) {
    link.hooks.showStatusText(status);
  }
}

void StoreFrame(Link& link, const ReceivedFrame& frame) {
  if (IsImageRegister(frame.address)) {
    StoreImageFrame(link, frame);
  } else if (frame.address >= kFirstLiveRegister && frame.address <= kLastLiveRegister) {
    link.live.values[frame.address - kFirstLiveRegister] = frame.value;
  } else if (frame.address == kStatusRegister) {
    ActOnStatus(link, frame.value);
  }
}

void NoteLiveReply(LiveReplies& replies, const ReceivedFrame& frame) {
  if (frame.address == kStatusRegister) {
    replies.statusArrived = true;
    replies.status = frame.value;
  }
}

bool IsLiveReply(const ReceivedFrame& frame) {
  return frame.address >= kFirstLiveRegister && frame.address <= kStatusRegister;
}

void DrainFrames(Link& link) {
  LiveReplies replies{&link.live};
  bool liveArrived = false;
  while (ReceiveFrame(link)) {
    const ReceivedFrame frame = LastReceivedFrame(link.receiver);
    StoreFrame(link, frame);
    if (IsLiveReply(frame)) {
      liveArrived = true;
      NoteLiveReply(replies, frame);
    }
  }
  if (liveArrived) {
    for (const auto& subscriber : link.hooks.liveSample) {
      subscriber(replies);
    }
  }
}

// True when this tick's reply ended a parameter write: nothing more is requested.
bool EndWriteIfDone(Link& link) {
  if (CurrentCommand(link) == kLetterSet &&
      link.cycle.transferCursor == kLastWritableRegister + 1) {
    link.cycle.transferCursor = kNoTransfer;
    return true;
  }
  return false;
}

void SendBlockRequest(Link& link) {
  CycleState& cycle = link.cycle;
  if (cycle.transferCursor < kNoTransfer && cycle.replyCredit == kFullCredit) {
    NoteBlockRequest(link.connection, cycle.transferCursor);
    SendFrame(link, cycle.transferCursor, ImageValue(link.image, cycle.transferCursor));
    cycle.replyCredit = 0;
  }
}

void RunIdleBranch(Link& link) {
  if (CurrentCommand(link) == kLetterSwitch || CurrentCommand(link) == kLetterClearErrors) {
    SendFrame(link, 0, 0);
  }
  Call(link.hooks.showLiveValues);
  SendLivePoll(link);
}

}  // namespace

void StartUpload(Link& link) {
  SendFrame(link, 0, 0);
  CurrentCommand(link) = kLetterQuery;
  Call(link.hooks.runUpload);
  DrainInput(link);
  link.cycle.upgradeArmed = UpgradeArming::Disarmed;
}

void PollTick(Link& link) {
  RaiseReplyCredit(link.cycle);
  CountStatusSilence(link);
  DrainFrames(link);
  if (!EndWriteIfDone(link)) {
    SendBlockRequest(link);
    if (CurrentCommand(link) == kLetterUpgrade && link.cycle.upgradeArmed == UpgradeArming::Armed) {
      StartUpload(link);
    }
  }
  if (link.cycle.transferCursor == kNoTransfer &&
      link.cycle.upgradeArmed == UpgradeArming::Disarmed) {
    RunIdleBranch(link);
  }
  Call(link.hooks.showParameterValues);
  if (link.cycle.sendRequest == SendRequest::StartWriteNow) {
    link.cycle.sendRequest = SendRequest::None;
    RunBlockTransfer(link, kFirstImageRegister, kLetterSet);
  }
  Call(link.hooks.showConfigName);
}

}  // namespace zav
