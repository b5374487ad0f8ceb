// zavctl calibrate: the calibration assistant's table and proposal from a drive on petrol
// and one on gas, as the window's "Calibrate…" shows them. Reads files only.

#include <optional>

#include "calibration/calibration.h"
#include "calibration/calibration_logs.h"
#include "calibration/calibration_text.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/json_output.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kCalibrateHelp{
    "calibrate PETROL.csv GAS.csv [--json]",
    "Compares a drive on petrol with a drive on gas across the same loads (data logs the\n"
    "window recorded; one log that switches over may be given twice) and proposes the two\n"
    "factors of the Parameters dialog's chart. Per load cell (RPM by manifold pressure) it\n"
    "takes the settled petrol times on both fuels: on gas the petrol unit's own closed loop\n"
    "lengthens them when the gas is lean and shortens them when it is rich, so their ratio is\n"
    "the correction the gas needs. The factors are fitted on the trackbars' 0.02 grid,\n"
    "weighted by samples, starting from those in force during the gas drive (the parameter\n"
    "file beside GAS.csv, else the factory set). Opens no port and writes nothing: apply the\n"
    "proposal with the Parameters dialog, drive on gas again and repeat.\n\n"
    "  --json  {\"cells\": [...], \"covered\", \"proposal\" or null, \"reason\"}\n\n"
    "Exit code 1: the drives cannot support a proposal (too few load cells); the reason says\n"
    "what to drive. Exit code 3: a log cannot be used (not a log, cut off, the wrong fuel)."};

Json CellJson(const LoadCell& cell) {
  return Json{{"rpmFrom", cell.rpmFrom},
              {"rpmTo", cell.rpmFrom + kRpmBand},
              {"manifoldFrom", cell.manifoldFrom},
              {"manifoldTo", cell.manifoldFrom + kManifoldBand},
              {"petrolSamples", cell.petrolSamples},
              {"gasSamples", cell.gasSamples},
              {"petrolMs", cell.petrolMs},
              {"gasPetrolMs", cell.gasPetrolMs},
              {"gasMs", cell.gasMs},
              {"correctionPercent", (cell.Correction() - 1.0) * 100.0},
              {"deliveredRatio", cell.DeliveredRatio()},
              {"neededRatio", cell.NeededRatio()},
              {"inFit", cell.Covered()}};
}

// The factors are single-precision values, as the Parameters dialog forms them from its
// trackbars, held widened: narrowed back (exactly), they are written as 2.2.
Json SideJson(TrackbarPositions positions, Factors factors, std::uint32_t yAxis,
              std::uint32_t numerator) {
  return Json{{"leftTrackbar", positions.left},
              {"rightTrackbar", positions.right},
              {"leftFactor", JsonNumber(static_cast<float>(factors.left))},
              {"rightFactor", JsonNumber(static_cast<float>(factors.right))},
              {"yAxis", yAxis},
              {"numerator", numerator}};
}

Json ProposalJson(const std::optional<Proposal>& proposal) {
  if (!proposal) {
    return nullptr;
  }
  return Json{{"xAxis", proposal->xAxis},
              {"inForce", SideJson(proposal->current, proposal->currentFactors,
                                   proposal->currentYAxis, proposal->currentNumerator)},
              {"proposed", SideJson(proposal->proposed, proposal->proposedFactors,
                                    proposal->formula.yAxis, proposal->formula.numerator)},
              {"mismatchInForce", proposal->currentError},
              {"mismatchProposed", proposal->proposedError}};
}

Json CalibrationJson(const Calibration& calibration) {
  Json cells = Json::array();
  for (const LoadCell& cell : calibration.cells) {
    cells.push_back(CellJson(cell));
  }
  return Json{{"cells", cells},
              {"covered", calibration.covered},
              {"shortestMs", calibration.shortestMs},
              {"longestMs", calibration.longestMs},
              {"proposal", ProposalJson(calibration.proposal)},
              {"reason", calibration.reason}};
}

std::optional<CalibrationLog> Load(CliContext& cli, const QString& path, Fuel fuel) {
  LoadedCalibrationLog loaded = LoadCalibrationLog(Text(path), fuel);
  if (!loaded.error.empty()) {
    Complain(cli, loaded.error);
    return std::nullopt;
  }
  if (!loaded.log.note.empty()) {
    std::fputs((Text(path) + ": " + loaded.log.note + "\n").c_str(), cli.err);
  }
  return std::move(loaded.log);
}

}  // namespace

int RunCalibrate(CliContext& cli, const QStringList& args) {
  QCommandLineParser parser;
  const QCommandLineOption jsonOption("json", "one JSON object");
  parser.addOption(jsonOption);
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kCalibrateHelp, 2, 2)) {
    return *code;
  }
  const QStringList paths = parser.positionalArguments();
  const std::optional<CalibrationLog> petrol = Load(cli, paths[0], Fuel::Petrol);
  const std::optional<CalibrationLog> gas = Load(cli, paths[1], Fuel::Gas);
  if (!petrol || !gas) {
    return kExitPortOrFile;
  }
  if (!gas->parameters) {
    std::fputs((Text(paths[1]) +
                ": no parameter file beside it; the factory set is taken as the one in force\n")
                   .c_str(),
               cli.err);
  }
  const Calibration calibration =
      Calibrate(petrol->samples, gas->samples, gas->parameters.value_or(kDefaultParameters));
  if (parser.isSet(jsonOption)) {
    PrintJson(cli, CalibrationJson(calibration));
  } else {
    std::string text = CoverageText(calibration);
    if (!calibration.cells.empty()) {
      text += "\n" + CellTableText(calibration);
    }
    if (calibration.proposal) {
      text += "\n" + ProposalText(*calibration.proposal);
    }
    Print(cli, text);
  }
  if (!calibration.proposal) {
    Complain(cli, "no proposal: " + calibration.reason);
    return kExitNoProposal;
  }
  return kExitDone;
}

}  // namespace zav::cli
