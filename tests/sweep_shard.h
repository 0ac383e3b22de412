#pragma once

// The part of a seeded sweep one process runs. ctest runs each sweep as several tests side by
// side, each with TARVEL_SWEEP_SHARD="i/N": that test generates every case, as the seed
// gives them, and checks those whose index is i modulo N on one thread. Without it the
// process checks every case on every core.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

struct SweepShard {
    std::size_t index = 0, count = 1;
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());

    bool mine(std::size_t k) const { return k % count == index; }
};

inline SweepShard sweepShard() {
    SweepShard shard;
    const char* env = std::getenv("TARVEL_SWEEP_SHARD");
    std::size_t i, n;
    if (env && std::sscanf(env, "%zu/%zu", &i, &n) == 2 && n > 0 && i < n) {
        shard.index = i;
        shard.count = n;
        shard.threads = 1;
    }
    return shard;
}
