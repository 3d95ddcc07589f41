#include "bench/OneCore.h"

#include <sched.h>

namespace bench {

int KeepToOneCore() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof(allowed), &allowed) != 0 || CPU_COUNT(&allowed) <= 1) {
        return -1;
    }
    const int core = sched_getcpu();
    if (core < 0) {
        return -1;
    }
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(core, &one);
    return sched_setaffinity(0, sizeof(one), &one) == 0 ? core : -1;
}

}  // namespace bench
