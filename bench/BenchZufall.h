#pragma once
#include <cstdint>

namespace talu::bench {

// A small deterministic generator (splitmix64): the same seed gives the same
// database on every machine and backend.
class Zufall {
public:
    explicit Zufall(std::uint64_t saat) : m_s(saat) {}
    std::uint64_t naechste() {
        std::uint64_t z = (m_s += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // 0 <= x < n
    std::uint64_t bis(std::uint64_t n) { return n ? naechste() % n : 0; }
    // lo <= x <= hi
    long long zwischen(long long lo, long long hi) { return lo + (long long)bis(std::uint64_t(hi - lo + 1)); }
    double anteil() { return double(naechste() >> 11) / double(1ULL << 53); }
    bool prozent(double p) { return anteil() * 100.0 < p; }

private:
    std::uint64_t m_s;
};

}  // namespace talu::bench
