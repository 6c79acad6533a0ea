#pragma once

#include "vars/SensorMirror.h"

#include <string>
#include <string_view>

namespace dotvane {

// The "mbm" family, read from the sensor mirror:
//   mbmtemp(k)   slot k (k 0 … 31), truncated toward zero, signed decimal
//   mbmvolt(k)   slot 32 + k (k 0 … 15), general floating precision 3,
//                right-aligned in width 4
//   mbmfan(k)    slot 48 + k (k 0 … 15), truncated, signed decimal
//   mbmmhz       slot 64, truncated, signed decimal (anything after the
//                prefix is ignored)
//   mbmusage(k)  slot 65 + k (k 0 … 34), truncated, signed decimal
// An index outside its region, a name without its ")", a reading that is
// not a number, and any other "mbm" name give the empty text.
std::string MbmVariable(std::string_view name, const SensorReadings& SensorMirror);

}  // namespace dotvane
