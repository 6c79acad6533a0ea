#pragma once

namespace dotvane::platform {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is not open, as a
// program started with them closed finds them (some service managers,
// daemon()). Called first thing, before the program opens a descriptor of
// its own: otherwise the first of its own would land on one of them, and
// whatever the program writes to standard error would go there.
// Where /dev/null cannot be opened (a bare chroot), the root folder holds
// the descriptor instead, and writes to it fail.
void OpenMissingStandardDescriptors();

// Ignores SIGPIPE from the start: a write to standard error or output whose
// reader has gone then fails with EPIPE instead of ending the program, even
// before the program's own signal handling is in place.
void IgnoreBrokenPipes();

}  // namespace dotvane::platform
