#pragma once
// The benchmarks' full-size Sub Set: 8192 ensembles of 128 bins, filled once.

#include "app_state.h"

namespace vantrel {

App_State& Big_State();

}  // namespace vantrel
