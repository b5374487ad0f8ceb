#include "calibration/calibration_text.h"

#include <algorithm>
#include <charconv>

namespace zav {

const std::array<std::string_view, kCellColumns> kCellHeadings = {
    "RPM",         "Manifold (mBar)", "Samples petrol", "Samples gas", "BA petrol (ms)",
    "BA gas (ms)", "Correction (%)",  "Delivered",      "Needed",      "In fit"};

std::string FixedText(double value, int decimals) {
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("?");
}

namespace {

std::string Band(int from, int width) {
  return std::to_string(from) + "-" + std::to_string(from + width);
}

std::string Signed(double value, int decimals) {
  const std::string text = FixedText(value, decimals);
  return value >= 0.0 ? "+" + text : text;
}

std::string Padded(std::string_view text, std::size_t width) {
  std::string padded(width > text.size() ? width - text.size() : 0, ' ');
  return padded + std::string(text);
}

std::string ChangeLine(std::string_view label, const std::string& from, const std::string& to,
                       const std::string& detail) {
  std::string line = "  " + std::string(label);
  line.resize(14, ' ');
  return line + from + " -> " + to + detail + "\n";
}

}  // namespace

std::array<std::string, kCellColumns> PetrolCellTexts(const CellCount& cell) {
  std::array<std::string, kCellColumns> texts;
  texts[0] = Band(cell.rpmFrom, kRpmBand);
  texts[1] = Band(cell.manifoldFrom, kManifoldBand);
  texts[2] = std::to_string(cell.samples);
  return texts;
}

std::array<std::string, kCellColumns> CellTexts(const LoadCell& cell) {
  return {Band(cell.rpmFrom, kRpmBand),
          Band(cell.manifoldFrom, kManifoldBand),
          std::to_string(cell.petrolSamples),
          std::to_string(cell.gasSamples),
          FixedText(cell.petrolMs, 2),
          FixedText(cell.gasPetrolMs, 2),
          Signed((cell.Correction() - 1.0) * 100.0, 1),
          FixedText(cell.DeliveredRatio(), 3),
          FixedText(cell.NeededRatio(), 3),
          cell.Covered() ? "yes" : "no"};
}

std::string CellTableText(const Calibration& calibration) {
  std::array<std::size_t, kCellColumns> widths{};
  std::vector<std::array<std::string, kCellColumns>> rows;
  for (const LoadCell& cell : calibration.cells) {
    rows.push_back(CellTexts(cell));
  }
  for (std::size_t column = 0; column < widths.size(); ++column) {
    widths[column] = kCellHeadings[column].size();
    for (const auto& row : rows) {
      widths[column] = std::max(widths[column], row[column].size());
    }
  }
  std::string text;
  const auto addLine = [&](auto cellText) {
    std::string line;
    for (std::size_t column = 0; column < widths.size(); ++column) {
      line += (column == 0 ? "" : "  ") + Padded(cellText(column), widths[column]);
    }
    text += line + "\n";
  };
  addLine([](std::size_t column) { return kCellHeadings[column]; });
  for (const auto& row : rows) {
    addLine([&row](std::size_t column) { return std::string_view(row[column]); });
  }
  return text;
}

std::string ProposalText(const Proposal& proposal) {
  const auto positions = [](int from, int to) {
    return "  (trackbar " + std::to_string(from) + " -> " + std::to_string(to) + ")";
  };
  std::string text = "Proposed factors, from those in force:\n";
  text += ChangeLine("Left", FixedText(proposal.currentFactors.left, 2),
                     FixedText(proposal.proposedFactors.left, 2),
                     positions(proposal.current.left, proposal.proposed.left));
  text += ChangeLine("Right", FixedText(proposal.currentFactors.right, 2),
                     FixedText(proposal.proposedFactors.right, 2),
                     positions(proposal.current.right, proposal.proposed.right));
  text += ChangeLine("Y axis", std::to_string(proposal.currentYAxis),
                     std::to_string(proposal.formula.yAxis),
                     "  (X axis " + std::to_string(proposal.xAxis) + ")");
  text += ChangeLine("Numerator", std::to_string(proposal.currentNumerator),
                     std::to_string(proposal.formula.numerator), "");
  if (proposal.reopened != proposal.proposed) {
    text += "  (written, these reopen at trackbars " + std::to_string(proposal.reopened.left) +
            " and " + std::to_string(proposal.reopened.right) + "; the factors shown are theirs)\n";
  }
  text += "Mismatch to the needed ratios (weighted rms): " +
          FixedText(proposal.currentError * 100.0, 1) + " % -> " +
          FixedText(proposal.proposedError * 100.0, 1) + " %\n";
  return text;
}

std::string CalibratedFacts(const Calibration& calibration) {
  const double mismatch = calibration.proposal ? calibration.proposal->currentError : 0.0;
  return std::to_string(calibration.covered) + " cells, mismatch " +
         FixedText(mismatch * 100.0, 1) + " % (within " +
         FixedText(kCalibratedCorrection * 100.0, 0) + " %), largest correction " +
         FixedText(calibration.largestCorrection * 100.0, 1) + " %";
}

std::string VerdictText(const Calibration& calibration) {
  if (!calibration.proposal) {
    return "No proposal: " + calibration.reason + "\n";
  }
  std::string text;
  if (calibration.calibrated) {
    text = "Calibrated: " + CalibratedFacts(calibration) + "; the factors in force stay.\n";
  } else if (!calibration.proposal->Changes()) {
    text =
        "No change: no factors on the trackbars' grid come nearer what the cells measured "
        "than those in force.\n" +
        ProposalText(*calibration.proposal);
  } else {
    text = ProposalText(*calibration.proposal);
  }
  if (!calibration.unreached.empty()) {
    text += calibration.unreached + "\n";
  }
  return text;
}

std::string CoverageText(const Calibration& calibration) {
  std::string text = std::to_string(calibration.cells.size()) +
                     " load cells driven on both fuels, " + std::to_string(calibration.covered) +
                     " with enough settled samples";
  if (calibration.longestMs > 0.0) {
    text += "; petrol times " + FixedText(calibration.shortestMs, 2) + " to " +
            FixedText(calibration.longestMs, 2) + " ms";
  }
  return text + ".\n";
}

}  // namespace zav
