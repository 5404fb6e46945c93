#pragma once
// Test helpers for synthetic files: scenario options checked, and a temporary folder.

#include <gtest/gtest.h>

#include <string>

#include "app_state.h"
#include "decode/decode_ensemble.h"
#include "decode/scanner.h"
#include "synth_encoder.h"
#include "synth_writer.h"
#include "support/temp_folder.h"

namespace vantrel::synth::test {

using vantrel::test::Temp_Folder;

// Scenario options resolved, failing the test on a bad combination.
inline Synth_Options Resolved(const Synth_Options& opt) { return Resolve_Options(opt); }

}  // namespace vantrel::synth::test
