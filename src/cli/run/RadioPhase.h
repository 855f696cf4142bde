// How far one radio has got, as its progress line and the run's events name it.
#pragma once

// The order is the order of a run.
enum class RadioPhase { NotStarted, Connecting, Transferring, Programming, Updated, Failed, Stopped };
