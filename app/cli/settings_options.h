#pragma once
// The settings options shared by the commands that decode: --settings FILE, --ref, --eop,
// --vel-scale and --bt-vel-scale.

#include <string>

#include "arg_list.h"
#include "settings/settings.h"

namespace vantrel::cli {

// The settings in force: defaults, then a settings file, then single overrides. Returns the
// settings file's name (empty without one): an input no output may be written over.
std::string Apply_Settings_Options(Arg_List& args, Settings& settings);

}  // namespace vantrel::cli
