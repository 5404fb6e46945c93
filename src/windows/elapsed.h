#pragma once
// Milliseconds on one monotonic clock, for throttling repaints and event-loop runs.

#include <QElapsedTimer>
#include <cstdint>

namespace vantrel {

inline std::int64_t Now_Ms() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.elapsed();
}

}  // namespace vantrel
