#include "platform/CounterQuery.h"

namespace dotvane::platform {
namespace {

CounterQuery* installed = nullptr;

}  // namespace

CounterQuery& CurrentCounterQuery() { return installed ? *installed : SystemCounterQuery(); }

void InstallCounterQuery(CounterQuery* query) { installed = query; }

}  // namespace dotvane::platform
