// The summaries the benchmark prints: a median with a spread around it.
#ifndef SOMNIVO_BENCH_BENCH_STATS_H
#define SOMNIVO_BENCH_BENCH_STATS_H

#include <vector>

// Min-max for a handful of repetitions, where every one is worth seeing;
// the interquartile range for thousands, where the extremes are mostly
// the scheduler's doing.
enum class SpreadKind { minToMax, interquartile };

struct Summary {
    double median;
    double low;
    double high;
    int count;
};

Summary Summarize(std::vector<double> samples, SpreadKind kind);

#endif
