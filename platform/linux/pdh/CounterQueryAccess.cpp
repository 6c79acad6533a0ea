#include "platform/CounterQuery.h"
#include "platform/linux/pdh/CounterQueryLinux.h"

namespace dotvane::platform {

CounterQuery& SystemCounterQuery()
{
    static CounterQueryLinux query;
    return query;
}

}  // namespace dotvane::platform
