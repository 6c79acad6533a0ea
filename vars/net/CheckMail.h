#pragma once

namespace dotvane {

// True while a check pass, or the clean-up of a connection left over from
// an interrupted one, runs.
extern bool MailCheckBusy;

// One mail check pass, run by each tick of the mail timer: logs in to every
// account with a host, in order, and stores its message count in MailCount,
// telling progress on the status line. The first error ends the pass and is
// shown in a message box; accounts not reached keep their counts. Nothing
// happens while checking is off or a pass already runs.
void CheckMail();

}  // namespace dotvane
