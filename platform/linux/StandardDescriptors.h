#pragma once

namespace dotvane::platform {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is not open, as a
// program started with them closed finds them (some service managers,
// daemon()). Called first thing, before the program opens a descriptor of
// its own: otherwise the first of its own would land on one of them, and
// whatever the program writes to standard error would go there.
void OpenMissingStandardDescriptors();

}  // namespace dotvane::platform
