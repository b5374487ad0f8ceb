#include "upgrade/upload_report.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "texts/joiner.h"
#include "upgrade/firmware_layout.h"

namespace zav {

namespace {

// The block the upload had come to: 1 to 240 (the EOT stage counts as the last block).
int CurrentBlock(const UploadState& upload) {
  return std::clamp<int>(upload.blockCounter, 1, kFirmwareBlocks);
}

std::string OfBlocks(int block) {
  return "block " + std::to_string(block) + " of " + std::to_string(kFirmwareBlocks);
}

std::string Repeats(std::uint32_t repeats) {
  return std::to_string(repeats) + (repeats == 1 ? " repeat" : " repeats");
}

// Whole seconds from ms, rounded to the nearest.
std::int64_t RoundedSeconds(std::int64_t ms) {
  return (std::max<std::int64_t>(ms, 0) + 500) / 1000;
}

std::string TimeLeft(const UploadState& upload, std::int64_t elapsedMs) {
  const int acknowledged = upload.blockCounter - 1;  // blocks the controller took
  if (acknowledged <= 0) {
    return {};
  }
  if (acknowledged >= kFirmwareBlocks) {
    return std::string(kJoiner) + "finishing";
  }
  const std::int64_t leftMs = elapsedMs * (kFirmwareBlocks - acknowledged) / acknowledged;
  return std::string(kJoiner) + "about " + std::to_string(RoundedSeconds(leftMs)) + " s left";
}

// Seconds with one decimal, always with a point whatever the regional settings.
std::string TenthsOfSeconds(std::int64_t ms) {
  std::array<char, 32> text{};
  const double seconds = static_cast<double>(std::max<std::int64_t>(ms, 0)) / 1000.0;
  const auto result =
      std::to_chars(text.data(), text.data() + text.size(), seconds, std::chars_format::fixed, 1);
  return std::string(text.data(), result.ptr);
}

}  // namespace

std::string UploadProgressText(const UploadState& upload, std::int64_t nowMs) {
  const std::int64_t elapsedMs = nowMs - upload.startedAtMs;
  return "Upgrade: " + OfBlocks(CurrentBlock(upload)) + kJoiner + Repeats(upload.repeats) +
         kJoiner + std::to_string(std::max<std::int64_t>(elapsedMs, 0) / 1000) + " s" +
         TimeLeft(upload, elapsedMs) + kJoiner + "live values paused";
}

std::string UploadFinishedText(const UploadState& upload) {
  return "Upgrade finished: " + std::to_string(kFirmwareBlocks) + " blocks in " +
         TenthsOfSeconds(upload.endedAtMs - upload.startedAtMs) + " s, " + Repeats(upload.repeats);
}

std::string UploadStoppedLine(const UploadState& upload) {
  return "Upgrade stopped at " + OfBlocks(CurrentBlock(upload)) +
         ": the controller may hold an incomplete image";
}

std::string UploadStoppedWarning(const UploadState& upload) {
  return "The upgrade was stopped at " + OfBlocks(CurrentBlock(upload)) +
         ". The controller may hold an incomplete image: run the upgrade again before the "
         "vehicle is driven.";
}

std::string UpgradeStatusText(const UploadState& upload, std::int64_t nowMs) {
  switch (upload.ending) {
    case UploadEnding::kRunning:
      return UploadProgressText(upload, nowMs);
    case UploadEnding::kFinished:
      return UploadFinishedText(upload);
    case UploadEnding::kStopped:
      return UploadStoppedLine(upload);
    case UploadEnding::kNone:
      break;
  }
  return {};
}

bool WarnOfStoppedUpload(Link& link, UploadState& upload) {
  if (!upload.stopToReport) {
    return false;
  }
  upload.stopToReport = false;  // before the box: ticks run behind it and end here again
  return link.desktop->NoticeWithAction(link.mainWindow, UploadStoppedWarning(upload),
                                        kUploadStoppedCaption, kUpgradeAgainLabel,
                                        MessageIcon::Warning);
}

}  // namespace zav
