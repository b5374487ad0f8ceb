#pragma once
// Faults the virtual controller can put on the line, to exercise the tool's recovery.
// Everything is off by default. Rates are shares from 0 (never) to 1 (always); every random
// choice comes from the controller's seed, so a run can be repeated exactly.

#include <cstdint>

namespace zav::sim {

struct FaultOptions {
  // Byte faults on frame answers (not on upload answers, where a lost or doubled ACK would
  // stall any sender): each byte is dropped, else corrupted (one or more bits flipped), and
  // independently sent twice, with these rates.
  double dropRate = 0.0;
  double corruptRate = 0.0;
  double duplicateRate = 0.0;

  // Share of answer frames sent in two parts with a gap of 100 to 300 ms between them.
  double splitRate = 0.0;

  // Share of answer frames preceded by one to three stray bytes.
  double strayRate = 0.0;

  // Silent periods: one starts every silenceEveryMs (ms) of running time and lasts
  // silenceForMs (ms); nothing is sent while one lasts. Off while either is 0.
  std::uint32_t silenceEveryMs = 0;
  std::uint32_t silenceForMs = 0;

  // Upload: a good block picked (share nakBurstRate) is answered with NAK this many times
  // before it is taken and acknowledged. Off while nakBurst is 0.
  std::uint32_t nakBurst = 0;
  double nakBurstRate = 1.0;

  // Upload: one unsolicited ACK right after the upload request, before the first NAK.
  bool strayAck = false;

  // Share of the bytes from the tool that are lost before the controller sees them.
  double dropInputRate = 0.0;

  // Upload: share of the firmware bytes from the tool lost likewise. Unlike dropInputRate it
  // spares the request frames before the upload, so the upload request itself gets through.
  double dropUploadRate = 0.0;

  // Parameter writes ('S') are answered, with the value the controller still holds, but
  // not taken: a controller whose store no longer takes writes.
  bool ignoreWrites = false;
};

}  // namespace zav::sim
