#include "app/Edition.h"

#ifdef DOTVANE_NT
#include "vars/perf/NtCounterSource.h"
#endif

namespace dotvane {

#ifdef DOTVANE_NT
const char* ProgramCaption() { return "Dotvane v. 0.3.2 pre13 NT"; }
bool IsNtBuild() { return true; }

std::unique_ptr<PerfCounterSource> CreatePerfCounterSource(Notices& notices)
{
    return std::make_unique<NtCounterSource>(notices);
}
#else
const char* ProgramCaption() { return "Dotvane v. 0.3.2 pre13"; }
bool IsNtBuild() { return false; }

std::unique_ptr<PerfCounterSource> CreatePerfCounterSource(Notices&) { return nullptr; }
#endif

}  // namespace dotvane
