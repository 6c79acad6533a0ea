#include "platform/NamedSections.h"

namespace dotvane::platform {
namespace {

NamedSections* installed = nullptr;

}  // namespace

NamedSections& CurrentNamedSections() { return installed ? *installed : SystemNamedSections(); }

void InstallNamedSections(NamedSections* sections) { installed = sections; }

}  // namespace dotvane::platform
