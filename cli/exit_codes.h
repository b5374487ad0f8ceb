#pragma once
// zavctl's exit codes, as its help lists them.

namespace zav::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitDifferences = 1;  // diff, write --verify
inline constexpr int kExitNoProposal = 1;   // calibrate: the drives cannot support one
inline constexpr int kExitUsage = 2;
inline constexpr int kExitPortOrFile = 3;
inline constexpr int kExitNoAnswer = 4;   // nothing moved within --timeout
inline constexpr int kExitCancelled = 5;  // Ctrl-C

}  // namespace zav::cli
