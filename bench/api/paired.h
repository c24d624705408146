// Two ways of doing the same thing, timed round by round: the two sides
// alternate which goes first, and the figures are the medians of the
// per-round times and ratios (ours / the bare library).
#pragma once

#include "median.h"
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

template <class Ours, class Floor>
void Paired(benchmark::State& state, Ours ours, Floor floor)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> oursUs, floorUs, ratios;
    bool oursFirst = true;
    for (auto _ : state) {
        double us[2] = {};
        for (int side = 0; side < 2; ++side) {
            const bool runOurs = (side == 0) == oursFirst;
            const auto start = Clock::now();
            if (!(runOurs ? ours() : floor())) {
                state.SkipWithError("request failed");
                return;
            }
            us[runOurs ? 0 : 1] = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        }
        oursFirst = !oursFirst;
        oursUs.push_back(us[0]);
        floorUs.push_back(us[1]);
        ratios.push_back(us[0] / us[1]);
    }
    state.counters["ours_us"] = Median(oursUs);
    state.counters["curl_us"] = Median(floorUs);
    state.counters["ratio"] = Median(ratios);
}
