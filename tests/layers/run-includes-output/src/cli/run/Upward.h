// A run that includes the output that renders it: the check must refuse it.
#pragma once

#include "cli/output/FleetOutput.h"
