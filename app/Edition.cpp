#include "app/Edition.h"

namespace dotvane {

#ifdef DOTVANE_NT
const char* ProgramCaption() { return "Dotvane v. 0.3.2 pre13 NT"; }
bool IsNtBuild() { return true; }
#else
const char* ProgramCaption() { return "Dotvane v. 0.3.2 pre13"; }
bool IsNtBuild() { return false; }
#endif

}  // namespace dotvane
