#pragma once

#include <QString>
#include <QVector>
#include <cstdint>
#include <random>

namespace Gen {

// The generator's one source of chance. The standard distributions may differ between library
// versions, so only the raw 32-bit engine output is used and the distributions are our own: the
// same seed gives the same catalogue everywhere.
class Random {
public:
    explicit Random(std::uint32_t seed) : engine(seed) {}

    // A whole number in lo..hi (both included).
    int between(int lo, int hi);
    // A real number in [0, 1).
    double real();
    double real(double lo, double hi) { return lo + (hi - lo) * real(); }
    bool chance(double probability) { return real() < probability; }
    // A fresh seed for a part of the work that must not depend on how much chance was used
    // before it in other parts.
    std::uint32_t seed() { return std::uint32_t(engine()); }

    template <typename T> const T& pick(const QVector<T>& items) {
        return items[between(0, int(items.size()) - 1)];
    }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) {
        return items[between(0, int(N) - 1)];
    }
    // An index chosen with the given relative weights.
    int weighted(const QVector<double>& weights);

private:
    std::mt19937 engine;
};

} // namespace Gen
