#pragma once
// The zone local times are read in, for one test: set while a LocalZone lives, then the
// system's own again.

namespace zav::testing {

class LocalZone {
 public:
  explicit LocalZone(const char* zone);  // a TZ value, e.g. "CET-1CEST,M3.5.0,M10.5.0/3"
  ~LocalZone();
  LocalZone(const LocalZone&) = delete;
  LocalZone& operator=(const LocalZone&) = delete;
};

}  // namespace zav::testing
