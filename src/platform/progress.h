#pragma once
// Progress hooks for long loops: a percentage, a self-throttling yield and a stop flag.
//
// Long loops call Yield() as often as they like (per byte examined, per ensemble);
// it forwards to the user interface at most every few milliseconds, so calling it
// costs a counter increment in the common case.

#include <chrono>
#include <cstdint>
#include <functional>

namespace vantrel {

class Progress_Hooks {
public:
    std::function<void(int percent)> on_percent;  // 0..100
    std::function<void()> on_yield;              // let the user interface run
    bool stop_requested = false;                 // set by the user interface; loops test it

    void Percent(int percent) {
        if (percent != last_percent_ && on_percent) on_percent(percent);
        last_percent_ = percent;
    }

    void Yield() {
        if (++calls_ < k_calls_between_clock_reads) return;
        calls_ = 0;
        Yield_Now_If_Due();
    }

    bool Stop() const { return stop_requested; }

private:
    static constexpr std::uint32_t k_calls_between_clock_reads = 1u << 16;
    void Yield_Now_If_Due();

    std::uint32_t calls_ = 0;
    int last_percent_ = -1;
    std::chrono::steady_clock::time_point last_yield_{};
};

// A hooks object that does nothing, for callers without a user interface.
Progress_Hooks& No_Progress();

}  // namespace vantrel
