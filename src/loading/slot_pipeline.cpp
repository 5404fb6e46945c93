#include "loading/slot_pipeline.h"

#include <system_error>

namespace vantrel {

Slot_Pipeline::Slot_Pipeline(Data_Set& ds, const Settings& settings, bool threaded) : ds_(ds), settings_(settings) {
    if (!threaded) return;
    try {
        worker_ = std::jthread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to be had (address space or thread limits): every slot is processed at once.
    }
}

Slot_Pipeline::~Slot_Pipeline() {
    if (!worker_.joinable()) return;
    Drain();
    published_.store(k_closed, std::memory_order_release);
    published_.notify_one();
    worker_.join();
}

void Slot_Pipeline::Process(const Slot_Setup& setup, std::size_t slot, int error_bins, bool decoded) {
    const Job job{setup, slot, error_bins, decoded};
    if (!worker_.joinable()) {
        Do(job);
        return;
    }
    // Wait for room: the worker reads the job k_ring places back until it marks it done.
    if (queued_ >= k_ring) Wait_Until_Done(queued_ - k_ring + 1);
    ring_[queued_ % k_ring] = job;
    published_.store(++queued_, std::memory_order_release);
    // A wake-up costs a system call while the worker sleeps, which it mostly does: it is
    // woken for a batch, and it checks for more before it sleeps again.
    if (queued_ % k_batch == 0) published_.notify_one();
}

void Slot_Pipeline::Drain() {
    if (worker_.joinable()) Wait_Until_Done(queued_);
}

void Slot_Pipeline::Wait_Until_Done(Count count) {
    Count d = done_.load(std::memory_order_acquire);
    if (d >= count) return;
    published_.notify_one();  // the worker may sleep on jobs queued since the last batch
    for (; d < count; d = done_.load(std::memory_order_acquire)) done_.wait(d, std::memory_order_acquire);
}

void Slot_Pipeline::Run() {
    Count done = 0;
    for (;;) {
        const Count published = published_.load(std::memory_order_acquire);
        if (published == k_closed) return;
        if (published == done) {
            published_.wait(published, std::memory_order_acquire);
            continue;
        }
        while (done < published) {
            Do(ring_[done % k_ring]);
            done_.store(++done, std::memory_order_release);
            if (done % k_batch == 0 || done == published) done_.notify_one();
        }
    }
}

void Slot_Pipeline::Do(const Job& job) {
    if (job.decoded) Process_Decoded_Slot(job.setup, ds_, settings_, job.slot);
    if (job.error_bins >= 0) sums_.Add(ds_, job.slot, job.error_bins);
}

}  // namespace vantrel
