#include "sim/controller.h"

#include <algorithm>
#include <utility>

#include "link/wire.h"

namespace zav::sim {
namespace {

constexpr std::uint8_t kLivePollAddress = kFirstLiveRegister;
constexpr std::uint8_t kCoolantRegister = 44;
constexpr std::uint8_t kRpmRegister = 49;
constexpr std::uint8_t kMinCoolantRegister = 80;
constexpr std::uint8_t kSwitchDelayRegister = 83;

constexpr std::uint8_t kFirstGasTimeRegister = 36;
constexpr std::uint8_t kLastGasTimeRegister = 39;

bool IsLiveRegister(std::uint8_t address) {
  return address >= kFirstLiveRegister && address <= kLastLiveRegister;
}

bool IsGasTimeRegister(std::uint8_t address) {
  return address >= kFirstGasTimeRegister && address <= kLastGasTimeRegister;
}

}  // namespace

Controller::Controller(ControllerOptions options)
    : options_(options),
      engine_(StartEngine(StreamOf(options.seed, RandomStream::kEngine), options.engine)),
      stored_(FactoryRegisters()),
      line_(options.faults, StreamOf(options.seed, RandomStream::kOutputFaults)),
      inputFaults_(StreamOf(options.seed, RandomStream::kInputFaults)),
      uploadFaults_(StreamOf(options.seed, RandomStream::kUploadFaults)) {}

void Controller::Receive(std::uint8_t byte, Micros now) {
  Advance(now);
  if (Chance(inputFaults_, options_.faults.dropInputRate)) {
    return;
  }
  if (upload_) {
    if (Chance(uploadFaults_, options_.faults.dropUploadRate)) {
      return;
    }
    TakeUploadInput(byte);
  } else {
    TakeFrameByte(byte);
  }
}

void Controller::Advance(Micros now) {
  if (!clockStarted_) {
    StartClock(now);
  }
  now_ = std::max(now_, now);
  while (nextStepAt_ <= now_) {
    StepModel(nextStepAt_);
    nextStepAt_ += kModelStep;
  }
  if (upload_) {
    WatchUploadSilence();
  }
}

std::optional<TimedByte> Controller::NextOutput() {
  return line_.Next();
}

std::uint16_t Controller::Register(std::uint8_t address) const {
  if (IsGasTimeRegister(address) && switchOver_.status != kStatusGas) {
    return 0;  // the gas injectors are driven only on gas
  }
  if (IsLiveRegister(address)) {
    return LiveValue(engine_, address);
  }
  if (address == kStatusRegister) {
    return switchOver_.status;
  }
  if (IsStoredRegister(address)) {
    return StoredAt(stored_, address);
  }
  return 0;
}

void Controller::SetRegister(std::uint8_t address, std::uint16_t value) {
  if (IsLiveRegister(address)) {
    PinLiveValue(engine_, address, value);
  } else if (address == kStatusRegister) {
    switchOver_ = SwitchOver{value, now_};
  } else if (IsStoredRegister(address)) {
    StoredAt(stored_, address) = value;
  }
}

void Controller::SetErrorFlags(std::uint16_t flags) {
  StoredAt(stored_, kErrorFlagsRegister) = flags;
}

std::uint16_t Controller::Status() const {
  return switchOver_.status;
}

void Controller::SetFaults(const FaultOptions& faults) {
  options_.faults = faults;
  line_.SetFaults(faults);
}

void Controller::RestartTrimTally(TrimGrid grid) {
  engine_.trims = TrimTally{grid, {}};
}

const std::vector<ReceivedRequest>& Controller::Requests() const {
  return requests_;
}

const std::vector<std::uint8_t>& Controller::Firmware() const {
  return firmware_;
}

void Controller::StartClock(Micros now) {
  clockStarted_ = true;
  now_ = now;
  nextStepAt_ = now + kModelStep;
  switchOver_.since = now;
  line_.SetOrigin(now);
}

void Controller::StepModel(Micros stepAt) {
  const GasSupply gas{RegulatorOpen(switchOver_.status), switchOver_.status == kStatusGas};
  StepEngine(engine_, gas, FactorsOf(stored_));
  UpdateSwitchOver(switchOver_, Conditions(), stepAt);
}

SwitchConditions Controller::Conditions() const {
  return SwitchConditions{LiveValue(engine_, kCoolantRegister), LiveValue(engine_, kRpmRegister),
                          StoredAt(stored_, kMinCoolantRegister),
                          StoredAt(stored_, kSwitchDelayRegister)};
}

void Controller::TakeFrameByte(std::uint8_t byte) {
  const std::optional<DecodedRequest> request = TakeRequestByte(frames_, byte, now_);
  if (request) {
    Execute(*request);
  }
}

void Controller::Execute(const DecodedRequest& request) {
  requests_.push_back(
      ReceivedRequest{now_, static_cast<char>(request.letter), request.address, request.value});
  if (onRequest) {
    onRequest(requests_.back());
  }
  const Micros answerAt = now_ + kReactionDelay;
  switch (request.letter) {
    case kLetterQuery:
      AnswerQuery(request.address, answerAt);
      break;
    case kLetterSet:
      if (IsWritableByTool(request.address)) {
        if (!options_.faults.ignoreWrites) {
          StoredAt(stored_, request.address) = request.value;
        }
        AnswerRegister(request.address, answerAt);
      }
      break;
    case kLetterSwitch:
      RequestSwitch(switchOver_, Conditions(), now_);
      break;
    case kLetterClearErrors:
      SetErrorFlags(0);
      break;
    case kLetterUpgrade:
      BeginUpload(answerAt);
      break;
    default:  // a letter this controller does not know
      break;
  }
}

void Controller::AnswerQuery(std::uint8_t address, Micros answerAt) {
  if (address == kLivePollAddress) {
    for (std::uint8_t live = kFirstLiveRegister; live <= kLastLiveRegister; ++live) {
      AnswerRegister(live, answerAt);
    }
    AnswerRegister(kStatusRegister, answerAt);
  } else if (IsStoredRegister(address)) {
    AnswerRegister(address, answerAt);
  }
}

void Controller::AnswerRegister(std::uint8_t address, Micros answerAt) {
  line_.SendFrame(EncodeResponse(address, Register(address)), answerAt);
}

void Controller::BeginUpload(Micros answerAt) {
  upload_ = StartUpload(now_);
  nakBurst_ = NakBurst{};
  frames_ = RequestReceiver{};
  if (options_.faults.strayAck) {
    line_.SendControl(kAck, answerAt);
  }
  AnswerUploadByte(kNak);
}

void Controller::TakeUploadInput(std::uint8_t byte) {
  const bool packetData = upload_->stage == UploadStage::kInPacket;
  AnswerUpload(TakeUploadByte(*upload_, byte, now_));
  if (packetData || !upload_) {
    return;
  }
  // A request frame between packets means the tool has given the upload up and gone back
  // to polling: follow it rather than wait for the silence that will never come.
  const std::optional<DecodedRequest> request = TakeRequestByte(frames_, byte, now_);
  if (request) {
    AbandonUpload();
    Execute(*request);
  }
}

void Controller::AnswerUpload(UploadVerdict verdict) {
  switch (verdict) {
    case UploadVerdict::kNothing:
      break;
    case UploadVerdict::kNewBlock:
      if (HoldBackBlock(nakBurst_, PacketBlockNumber(*upload_), options_.faults, uploadFaults_)) {
        AnswerUploadByte(kNak);
      } else {
        AcceptBlock(*upload_);
        AnswerUploadByte(kAck);
      }
      break;
    case UploadVerdict::kDuplicateBlock:
      AnswerUploadByte(kAck);
      break;
    case UploadVerdict::kBadPacket:
      AnswerUploadByte(kNak);
      break;
    case UploadVerdict::kEndOfTransmission:
      AnswerUploadByte(kAck);
      FinishUpload();
      break;
    case UploadVerdict::kCancelled:
      AbandonUpload();
      break;
    case UploadVerdict::kImageFull:
      AnswerUploadByte(kCan);
      AnswerUploadByte(kCan);
      AbandonUpload();
      break;
  }
}

void Controller::AnswerUploadByte(std::uint8_t byte) {
  line_.SendControl(byte, now_ + kReactionDelay);
  NoteAnswer(*upload_, now_);
}

void Controller::WatchUploadSilence() {
  switch (CheckUploadSilence(*upload_, now_, line_.IdleAt())) {
    case SilenceVerdict::kNothing:
      break;
    case SilenceVerdict::kReprompt:
      AnswerUploadByte(kNak);
      break;
    case SilenceVerdict::kGiveUp:
      AbandonUpload();
      break;
  }
}

void Controller::FinishUpload() {
  firmware_ = std::move(upload_->image);
  AbandonUpload();
  if (onFirmware) {
    onFirmware(firmware_);
  }
}

void Controller::AbandonUpload() {
  upload_.reset();
  frames_ = RequestReceiver{};
}

}  // namespace zav::sim
