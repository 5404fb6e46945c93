#pragma once
// A settings store holding the program's defaults, as a fresh start reads them.

#include "settings/settings.h"

namespace vantrel::test {

inline Settings Default_Settings() {
    Settings s;
    Load_Default_Options(s);
    return s;
}

}  // namespace vantrel::test
