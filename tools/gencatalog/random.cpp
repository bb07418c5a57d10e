#include "random.h"

namespace Gen {

int Random::between(int lo, int hi) {
    if (hi <= lo) return lo;
    const std::uint32_t range = std::uint32_t(hi - lo) + 1u;
    // Rejection keeps every value equally likely.
    const std::uint32_t limit = std::uint32_t(0x100000000ull - 0x100000000ull % range);
    std::uint64_t x;
    do {
        x = engine();
    } while (limit != 0 && x >= limit);
    return lo + int(x % range);
}

double Random::real() {
    const std::uint64_t hi = engine() >> 5; // 27 bits
    const std::uint64_t lo = engine() >> 6; // 26 bits
    return double((hi << 26) | lo) / double(1ull << 53);
}

int Random::weighted(const QVector<double>& weights) {
    double total = 0;
    for (double w : weights)
        total += w;
    double x = real() * total;
    for (int i = 0; i < weights.size(); ++i) {
        if (x < weights[i]) return i;
        x -= weights[i];
    }
    return int(weights.size()) - 1;
}

} // namespace Gen
