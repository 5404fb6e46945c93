#pragma once
// The processing half of a Sub Set load (cut, transform, reference, error-velocity sums)
// on a second thread, one slot behind the calling thread's decode.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

#include "dataset/data_set.h"
#include "processing/velocity_processing.h"
#include "settings/settings.h"

namespace vantrel {

class Slot_Pipeline {
public:
    // Processes into ds with settings, on a thread of its own when `threaded`, else at once.
    // Neither may change shape while slots are queued: Drain first.
    Slot_Pipeline(Data_Set& ds, const Settings& settings, bool threaded);
    ~Slot_Pipeline();  // drains and joins
    Slot_Pipeline(const Slot_Pipeline&) = delete;
    Slot_Pipeline& operator=(const Slot_Pipeline&) = delete;

    // Queues a decoded slot (slots in rising order): processed when `decoded`, then added
    // to the error-velocity sums over error_bins bins unless error_bins is negative.
    // The calling thread must leave the slot alone until Drain.
    void Process(const Slot_Setup& setup, std::size_t slot, int error_bins, bool decoded);

    // Returns once every queued slot is done.
    void Drain();

    // The sums of the slots done so far; read after Drain.
    const Error_Velocity_Sums& Sums() const { return sums_; }

private:
    struct Job {
        Slot_Setup setup;
        std::size_t slot = 0;
        int error_bins = -1;
        bool decoded = false;
    };
    static constexpr std::uint32_t k_ring = 1024;  // jobs the decode may run ahead
    static constexpr std::uint32_t k_batch = 16;  // jobs queued, or done, between wake-ups
    // Counts of 32 bits: the waits then sleep on the counter itself (a futex on Linux).
    using Count = std::uint32_t;
    static constexpr Count k_closed = static_cast<Count>(-1);

    void Run();
    void Wait_Until_Done(Count count);  // the caller's wait for `count` jobs done
    void Do(const Job& job);

    Data_Set& ds_;
    const Settings& settings_;
    Error_Velocity_Sums sums_;  // the worker's until Drain
    std::array<Job, k_ring> ring_;
    // Each on a cache line of its own: one thread writes each.
    alignas(64) std::atomic<Count> published_{0};  // jobs queued, or k_closed
    alignas(64) std::atomic<Count> done_{0};
    Count queued_ = 0;  // the caller's count
    std::jthread worker_;     // last: starts once the rest is built
};

}  // namespace vantrel
