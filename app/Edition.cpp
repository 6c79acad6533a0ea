#include "app/Edition.h"

#ifdef DOTVANE_NT
#include "vars/perf/NtCounterSource.h"
#endif

namespace dotvane {

#ifdef DOTVANE_NT
const char* ProgramCaption() { return "Dotvane v. 0.3.2 pre13 NT"; }
bool IsNtBuild() { return true; }

namespace {

// The counter source is in place before the main window is created.
NtCounterSource ntCounters;
[[maybe_unused]] const bool countersInstalled = (PerfCounters = &ntCounters, true);

}  // namespace
#else
const char* ProgramCaption() { return "Dotvane v. 0.3.2 pre13"; }
bool IsNtBuild() { return false; }
#endif

}  // namespace dotvane
