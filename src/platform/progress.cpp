#include "platform/progress.h"

namespace vantrel {

void Progress_Hooks::Yield_Now_If_Due() {
    if (!on_yield) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_yield_ < std::chrono::milliseconds(30)) return;
    last_yield_ = now;
    on_yield();
}

Progress_Hooks& No_Progress() {
    thread_local Progress_Hooks hooks;
    hooks.stop_requested = false;
    return hooks;
}

}  // namespace vantrel
