#pragma once

#include "base/Notices.h"
#include "vars/PerfCounterSource.h"

#include <memory>

namespace dotvane {

// What differs between the NT build (with performance counters) and the
// plain build; compiled once per executable with or without DOTVANE_NT.
const char* ProgramCaption();
bool IsNtBuild();

// The build's performance-counter source, which reports its failures
// through `notices`; none in the plain build.
std::unique_ptr<PerfCounterSource> CreatePerfCounterSource(Notices& notices);

}  // namespace dotvane
