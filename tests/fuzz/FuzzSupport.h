#pragma once

// Shared by the fuzz targets: reading an input as a few choices followed by the bytes under test,
// cutting a byte stream into chunks, and stopping loudly when an invariant breaks.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

// A broken invariant is a finding: libFuzzer (or the ctest run) reports the abort with the input.
inline void Require(bool ok, const char* what) {
    if (ok)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// Takes choices from the front of an input; what is left is the data under test.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_rest(reinterpret_cast<const char*>(data), size) {}

    // At most `n` of the next bytes.
    std::string Take(size_t n) {
        const std::string taken = m_rest.substr(0, n);
        m_rest.erase(0, n);
        return taken;
    }
    std::string Rest() { return Take(m_rest.size()); }
    // The next byte, 0 once the input is used up.
    uint8_t Byte() { return static_cast<uint8_t>(Take(1)[0]); }
    // A seed for InChunks from the next four bytes, never 0.
    uint32_t Seed() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | Byte();
        return v | 1;
    }

private:
    std::string m_rest;
};

// Hands `bytes` to `feed` in chunks whose sizes follow from `seed`: mostly short, now and then long,
// as reads from a port come; in one piece when `seed` is 0.
template <class Feed> void InChunks(const std::string& bytes, uint32_t seed, Feed feed) {
    if (seed == 0)
        return feed(bytes.data(), static_cast<int>(bytes.size()));
    uint32_t state = seed;
    size_t pos = 0;
    while (pos < bytes.size()) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const size_t limit = size_t{1} << (state % 9); // 1 to 256
        const size_t n = std::min<size_t>(1 + (state >> 8) % limit, bytes.size() - pos);
        feed(bytes.data() + pos, static_cast<int>(n));
        pos += n;
    }
}

} // namespace fuzz
