#include "platform/CounterQuery.h"
#include "platform/linux/pdh/CounterQueryLinux.h"

namespace dotvane::platform {
namespace {

CounterQuery* installed = nullptr;

}  // namespace

CounterQuery& CurrentCounterQuery() { return installed ? *installed : SystemCounterQuery(); }

void InstallCounterQuery(CounterQuery* query) { installed = query; }

CounterQuery& SystemCounterQuery()
{
    static CounterQueryLinux query;
    return query;
}

}  // namespace dotvane::platform
