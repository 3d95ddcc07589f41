#pragma once

namespace bench {

// Keeps the benchmark on the core it started on, unless whoever started it chose its cores
// already (taskset -c N). Moved between cores by the scheduler, a call finds its data in no
// cache of the new core, and the short ones (a warm deal lasts some fifty microseconds) then
// cost half as much again. Returns the core kept, or -1 when the choice was left as it was.
int KeepToOneCore();

}  // namespace bench
