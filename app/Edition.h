#pragma once

namespace dotvane {

// What differs between the NT build (with performance counters) and the
// plain build; compiled once per executable with or without DOTVANE_NT.
const char* ProgramCaption();
bool IsNtBuild();

}  // namespace dotvane
