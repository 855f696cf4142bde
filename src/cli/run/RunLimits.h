// How many radios a run updates at once at most: the options refuse more, the run keeps to it.
#pragma once

inline constexpr int MAX_JOBS = 64;
