// How many radios a run updates at once at most: the options refuse more, the run keeps to it.
// Each running radio holds a thread, its connection and its event loop's wake-up descriptor:
// 256 radios take about 520 descriptors, well inside the usual limit of 1024 a process, and
// about 25 MB resident (the threads' stacks are mostly never touched).
#pragma once

inline constexpr int MAX_JOBS = 256;
