#pragma once

#include "vars/SetiStats.h"

#include <string>
#include <string_view>

namespace dotvane {

// The SETI@home figures as variables:
//   setiprog       progress in percent, two decimals ("45.67")
//   setiuser       the user name as the client wrote it
//   setinresults   results returned, signed decimal
//   setitotal_cpu  processor time in years, two decimals ("1.00")
//   setispike, setigaussian, setipulse, setitriplet
//                  signals in the result file, signed decimal
// Any other name beginning with "seti" gives the empty text.
std::string SetiVariable(std::string_view name, const TSetiStats& SetiStats);

}  // namespace dotvane
