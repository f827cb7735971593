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
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    // The next byte, 0 once the input is used up.
    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    uint32_t Word32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | Byte();
        return v;
    }
    // At most `n` of the next bytes.
    std::string Take(size_t n) {
        n = std::min(n, m_size - m_pos);
        const std::string s(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return s;
    }
    std::string Rest() { return Take(m_size - m_pos); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
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
