#pragma once
// Progress of a transfer or an upload on standard error: a bar redrawn in place on a
// terminal, else one line per tenth, so that a log file stays short.

#include <cstdio>
#include <string>

namespace zav::console {

class ProgressLine {
 public:
  ProgressLine(std::FILE* stream, bool onTerminal) : stream_(stream), onTerminal_(onTerminal) {}

  void Start(std::string title, int low, int high);
  void Show(int position);
  // Ends the bar's line; nothing when no bar was started.
  void Finish();

 private:
  int Percent(int position) const;

  std::FILE* stream_;
  bool onTerminal_;
  std::string title_;
  int low_ = 0;
  int high_ = 0;
  int lastShown_ = -1;  // percent last printed; -1 none yet
  bool active_ = false;
};

}  // namespace zav::console
