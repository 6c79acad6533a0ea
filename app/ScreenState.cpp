#include "app/ScreenState.h"

namespace dotvane {

int CurrentScreen = 0;
int PreviousScreen = 0;
int SkippedScreen = -1;
bool WindowShown = true;

}  // namespace dotvane
