#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace demosite {

// Mixes any number of values into one well-spread 64-bit number. Content is
// derived from such hashes of (seed, place) rather than from one running
// generator, so adding a month never reshuffles the months before it.
std::uint64_t mixHash(std::initializer_list<std::uint64_t> values);
std::uint64_t hashText(std::string_view text);

// A small deterministic generator (splitmix64). The standard distributions
// are avoided on purpose: their output differs between library versions.
class DetRandom {
public:
    explicit DetRandom(std::uint64_t seed) : state(seed) {}
    std::uint64_t next();
    // Uniform in [0, bound); bound must be positive.
    int below(int bound);
    // Uniform in [low, high].
    int between(int low, int high);
    // True with probability numerator / denominator.
    bool chance(int numerator, int denominator);

private:
    std::uint64_t state;
};

} // namespace demosite
