#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

namespace tarvel::detail {

// Runs `worker` on the calling thread and on as many helper threads as `cores` and `units`
// (the pieces of work there are to share) call for, and returns when every one has finished.
template <typename Worker> void runOnCores(unsigned cores, std::size_t units, Worker& worker) {
    const std::size_t helpers = std::min<std::size_t>(std::max(cores, 1u) - 1, units);
    std::vector<std::thread> pool;
    for (std::size_t i = 0; i < helpers; ++i)
        pool.emplace_back(std::ref(worker));
    worker();
    for (auto& t : pool)
        t.join();
}

} // namespace tarvel::detail
