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
#include "params/parameter_file.h"
#include "platform/files/path_text.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kCalibrateHelp{
    "calibrate PETROL.csv GAS.csv [--in-force FILE.car] [--json]",
    "Compares a drive on petrol with a drive on gas across the same loads (data logs the\n"
    "window recorded; one log that switches over may be given twice) and proposes the two\n"
    "factors of the Parameters dialog's chart. Each settled petrol time on gas is compared\n"
    "with the petrol drive's at the same RPM and manifold pressure: on gas the petrol unit's\n"
    "own closed loop lengthens it when the gas is lean and shortens it when it is rich, so\n"
    "their ratio is the correction the gas needs. The proposal is the factors' line in force\n"
    "moved by the corrections, on the trackbars' 0.02 grid, only as far as the cells driven\n"
    "support, and only where the Parameters dialog's \"Ok\" accepts the \"Y axis\". The\n"
    "factors in force are those of the parameter file beside GAS.csv, else of --in-force\n"
    "FILE.car, else the factory set; which was taken is printed on stderr. Opens no port\n"
    "and writes nothing: apply the proposal with the Parameters dialog, drive on gas again\n"
    "and repeat.\n\n"
    "  --in-force FILE.car  the set in force during the gas drive, when no parameter file\n"
    "                       lies beside GAS.csv\n"
    "  --json  {\"cells\": [...], \"covered\", \"calibrated\", \"proposal\" or null,\n"
    "           \"unreached\", \"reason\", \"inForceSource\"}\n\n"
    "Exit code 1: the drives cannot support a proposal (too few load cells, no writable\n"
    "\"Y axis\", gas times that do not follow the factors in force); the reason says what to\n"
    "do. Exit code 3: a file cannot be used (not a log, cut off, the wrong fuel)."};

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
              {"calibrated", calibration.calibrated},
              {"proposal", ProposalJson(calibration.proposal)},
              {"unreached", calibration.unreached},
              {"reason", calibration.reason}};
}

std::optional<CalibrationLog> Load(CliContext& cli, const std::string& path, Fuel fuel) {
  LoadedCalibrationLog loaded = LoadCalibrationLog(PathFromUtf8(path), fuel);
  if (!loaded.error.empty()) {
    Complain(cli, loaded.error);
    return std::nullopt;
  }
  if (!loaded.log.note.empty()) {
    std::fputs((path + ": " + loaded.log.note + "\n").c_str(), cli.err);
  }
  return std::move(loaded.log);
}

}  // namespace

int RunCalibrate(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  const int jsonOption = parser.Add({.names = {"json"}});
  const int inForceOption = parser.Add({.names = {"in-force"}, .takesValue = true});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kCalibrateHelp, 2, 2)) {
    return *code;
  }
  const std::vector<std::string>& paths = parser.Positional();
  const std::optional<CalibrationLog> petrol = Load(cli, paths[0], Fuel::Petrol);
  const std::optional<CalibrationLog> gas = Load(cli, paths[1], Fuel::Gas);
  if (!petrol || !gas) {
    return kExitPortOrFile;
  }
  InForceSet otherwise{kDefaultParameters, "the factory set (no parameter file beside " +
                                               Utf8FromPath(PathFromUtf8(paths[1]).filename()) +
                                               "; give the set in force with --in-force FILE.car)"};
  if (parser.IsSet(inForceOption)) {
    const std::string file = parser.Value(inForceOption);
    const LoadedParameters given = ReadParameterFile(PathFromUtf8(file));
    if (!given.words) {
      Complain(cli, file + ": not a parameter file that can be read: " + given.error);
      return kExitPortOrFile;
    }
    otherwise = InForceSet{*given.words, "the file " + file + " given with --in-force"};
  }
  const InForceSet inForce = *InForceFor(*gas, otherwise);
  std::fputs((InForceText(inForce) + "\n").c_str(), cli.err);
  const Calibration calibration = Calibrate(petrol->samples, gas->samples, inForce.words);
  if (parser.IsSet(jsonOption)) {
    Json object = CalibrationJson(calibration);
    object["inForceSource"] = inForce.source;
    PrintJson(cli, object);
  } else {
    std::string text = CoverageText(calibration);
    if (!calibration.cells.empty()) {
      text += "\n" + CellTableText(calibration);
    }
    if (calibration.proposal) {
      text += "\n" + VerdictText(calibration);
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
