#pragma once

#include "base/Notices.h"
#include "config/Settings.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace dotvane {

// The SETI@home client's figures from the last reads of its files. Kept for
// the whole run and only overwritten: a figure whose file or key is missing
// keeps its previous value (except the progress, which a missing state file
// sets to 0).
struct TSetiStats {
    double Progress = 0;       // percent of the current work unit done
    std::string UserName;      // program text, from UTF-8 or Latin-1
    int32_t ResultCount = 0;
    double CpuTime = 0;        // total processor time, in years of 365 days
    int32_t Spikes = 0;
    int32_t Gaussians = 0;
    int32_t Pulses = 0;
    int32_t Triplets = 0;
};

// One tick of the SETI@home timer, into `SetiStats`. While Seti@Home/Enable
// is on it reads, in
// this order and each opened and closed again, the state file (Statedir,
// key "prog="), the user-information file (Userinfodir, keys "name=",
// "nresults=", "total_cpu=") and the result file (Outfiledir, lines holding
// "spike", "gaussian", "pulse", "triplet"). The settings name each file
// completely. A user-information or result file that cannot be opened shows
// "Error opening user_info.sah" or "Error opening outfile.sah". A file that
// is no regular file (a folder, FIFO or device) or is larger than
// kSetiFileLimit counts as one that cannot be opened.
void SetiTimerTick(const TMainSettings& settings, TSetiStats& SetiStats, Notices& notices);

// The largest SETI@home client file that is read.
inline constexpr size_t kSetiFileLimit = 4 * 1024 * 1024;

}  // namespace dotvane
