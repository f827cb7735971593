#pragma once

#include <string>

// Bytes waiting to go to the device. Sent bytes are dropped from the front by moving a read offset, and
// the buffer is compacted only now and then, so a large flood costs no more than its own size.
class OutputQueue {
public:
    bool Empty() const { return m_offset == m_bytes.size(); }
    size_t Size() const { return m_bytes.size() - m_offset; }
    const char* Data() const { return m_bytes.data() + m_offset; }
    void Append(const std::string& bytes) { m_bytes += bytes; }
    void Clear() {
        m_bytes.clear();
        m_offset = 0;
    }
    void Consume(size_t count) {
        m_offset += count;
        if (m_offset >= m_bytes.size()) {
            Clear();
        } else if (m_offset > kCompactAt && m_offset > m_bytes.size() / 2) {
            m_bytes.erase(0, m_offset);
            m_offset = 0;
        }
    }

private:
    static constexpr size_t kCompactAt = 1 << 20;
    std::string m_bytes;
    size_t m_offset = 0;
};
