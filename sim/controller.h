#pragma once
// The virtual ZAV controller: engine model, register map, frame protocol, switch-over
// states, error flags and the XMODEM receiver for firmware uploads. Deterministic: given the
// same seed, the same bytes at the same times produce the same answers.
//
// Time is in microseconds from an arbitrary start. The host moves time forward with
// Advance() and hands over each byte from the tool with Receive() once it has fully arrived;
// it takes the controller's answers from NextOutput(), each to be put on the line no earlier
// than its notBefore time, in order.
//
// What it answers: 'Q' 32 with the live frames of registers 32 to 50 and the status frame of
// register 51; 'Q' 80 to 102 with that register; 'S' 80 to 92 by storing the value and
// answering with the register. 'B' switches between petrol and gas, 'C' clears the error
// flags, 'U' starts an upload; these three are not answered with a frame. Requests for other
// registers and other letters are taken in (see Requests()) and otherwise ignored.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "sim/engine_model.h"
#include "sim/faults.h"
#include "sim/line_time.h"
#include "sim/nak_burst.h"
#include "sim/random.h"
#include "sim/request_receiver.h"
#include "sim/response_line.h"
#include "sim/stored_registers.h"
#include "sim/switch_over.h"
#include "sim/xmodem_receiver.h"

namespace zav::sim {

// A well-formed request frame as the controller took it in.
struct ReceivedRequest {
  Micros at = 0;
  char letter = 0;
  std::uint8_t address = 0;
  std::uint16_t value = 0;
};

struct ControllerOptions {
  std::uint32_t seed = 1;
  FaultOptions faults;
  EngineOptions engine;
};

// How long the controller takes to start answering a request it has taken in (us).
inline constexpr Micros kReactionDelay = 1500;

class Controller {
 public:
  explicit Controller(ControllerOptions options = {});

  void Receive(std::uint8_t byte, Micros now);
  void Advance(Micros now);
  std::optional<TimedByte> NextOutput();

  // Registers as the controller holds them (32 to 51 live and status, 80 to 102 stored).
  // Setting a live register (32 to 50) holds it at that value from then on; setting 51 puts
  // the controller in that operating state. The gas injection times (36 to 39) read 0 except
  // on gas. Other addresses read 0 and ignore writes.
  std::uint16_t Register(std::uint8_t address) const;
  void SetRegister(std::uint8_t address, std::uint16_t value);
  void SetErrorFlags(std::uint16_t flags);
  std::uint16_t Status() const;
  void SetFaults(const FaultOptions& faults);

  // The petrol unit's trim now (1: the gas delivered is what the engine needs, or on petrol).
  double PetrolTrim() const { return engine_.trim.factor; }
  // The trim on gas per load cell, since the start or the last RestartTrimTally.
  const TrimTally& Trims() const { return engine_.trims; }
  void RestartTrimTally(TrimGrid grid = {});

  // Every well-formed request frame taken in, in order.
  const std::vector<ReceivedRequest>& Requests() const;
  // The last firmware image received completely (empty before the first).
  const std::vector<std::uint8_t>& Firmware() const;
  // True while an upload is being received.
  bool Uploading() const { return upload_.has_value(); }
  // Called with each image once its EOT has been acknowledged.
  std::function<void(const std::vector<std::uint8_t>&)> onFirmware;
  // Called with each well-formed request as it is taken in.
  std::function<void(const ReceivedRequest&)> onRequest;

 private:
  void StartClock(Micros now);
  void StepModel(Micros stepAt);
  SwitchConditions Conditions() const;

  void TakeFrameByte(std::uint8_t byte);
  void Execute(const DecodedRequest& request);
  void AnswerQuery(std::uint8_t address, Micros answerAt);
  void AnswerRegister(std::uint8_t address, Micros answerAt);

  void BeginUpload(Micros answerAt);
  void TakeUploadInput(std::uint8_t byte);
  void AnswerUpload(UploadVerdict verdict);
  void AnswerUploadByte(std::uint8_t byte);
  void WatchUploadSilence();
  void FinishUpload();
  void AbandonUpload();

  ControllerOptions options_;
  bool clockStarted_ = false;
  Micros now_ = 0;
  Micros nextStepAt_ = 0;
  EngineModel engine_;
  SwitchOver switchOver_;
  StoredRegisters stored_;
  RequestReceiver frames_;
  ResponseLine line_;
  Random inputFaults_;
  Random uploadFaults_;
  std::optional<UploadState> upload_;
  NakBurst nakBurst_;
  std::vector<ReceivedRequest> requests_;
  std::vector<std::uint8_t> firmware_;
};

}  // namespace zav::sim
