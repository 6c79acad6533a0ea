#include "app/Edition.h"
#include "app/Settings.h"
#include "platform/FileNames.h"

#include <cstdio>

int main()
{
    dotvane::ManualTimer pop3Timer(600000);
    dotvane::LoadSettings(dotvane::platform::ProgramFolder(), pop3Timer);
    std::printf("%s: settings loaded from %s\n", dotvane::ProgramCaption(), dotvane::platform::ProgramFolder().c_str());
    return 0;
}
