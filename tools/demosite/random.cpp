#include "demosite/random.h"

namespace demosite {
namespace {

std::uint64_t splitmix(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

std::uint64_t mixHash(std::initializer_list<std::uint64_t> values) {
    std::uint64_t state = 0x2545F4914F6CDD1DULL;
    std::uint64_t result = 0;
    for (const std::uint64_t value : values) {
        state ^= value;
        result = splitmix(state);
    }
    return result;
}

std::uint64_t hashText(std::string_view text) {
    std::uint64_t hash = 0xCBF29CE484222325ULL; // FNV-1a
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ULL;
    }
    return hash;
}

std::uint64_t DetRandom::next() {
    return splitmix(state);
}

int DetRandom::below(int bound) {
    return static_cast<int>(next() % static_cast<std::uint64_t>(bound));
}

int DetRandom::between(int low, int high) {
    return low + below(high - low + 1);
}

bool DetRandom::chance(int numerator, int denominator) {
    return below(denominator) < numerator;
}

} // namespace demosite
