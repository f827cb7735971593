#include "core/macros/MacroFile.h"

#include <algorithm>
#include <cstdint>

namespace macfile {
namespace {

void PutU16(QByteArray& out, uint32_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(QByteArray& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

void PutCount(QByteArray& out, size_t count) {
    if (count < 0xFFFF) {
        PutU16(out, static_cast<uint32_t>(count));
        return;
    }
    PutU16(out, 0xFFFF);
    PutU32(out, static_cast<uint32_t>(count));
}

void PutString(QByteArray& out, const std::string& s) {
    const size_t n = s.size();
    if (n < 0xFF) {
        out.append(static_cast<char>(n));
    } else if (n < 0xFFFE) {
        out.append('\xFF');
        PutU16(out, static_cast<uint32_t>(n));
    } else {
        out.append('\xFF');
        PutU16(out, 0xFFFF);
        PutU32(out, static_cast<uint32_t>(n));
    }
    out.append(s.data(), static_cast<qsizetype>(n));
}

void PutArray(QByteArray& out, const std::vector<std::string>& strings) {
    PutCount(out, strings.size());
    for (const std::string& s : strings)
        PutString(out, s);
}

// Reads little-endian fields from a byte array; every read checks what is left.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool U8(uint32_t& v) { return Take(1, v); }
    bool U16(uint32_t& v) { return Take(2, v); }
    bool U32(uint32_t& v) { return Take(4, v); }
    qsizetype left() const { return m_bytes.size() - m_pos; }

    bool Bytes(uint32_t n, std::string& s) {
        if (static_cast<qsizetype>(n) > left())
            return false;
        s.assign(m_bytes.constData() + m_pos, n);
        m_pos += n;
        return true;
    }

private:
    bool Take(int width, uint32_t& v) {
        if (left() < width)
            return false;
        v = 0;
        for (int i = 0; i < width; ++i)
            v |= static_cast<uint32_t>(static_cast<unsigned char>(m_bytes[m_pos + i])) << (8 * i);
        m_pos += width;
        return true;
    }

    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
};

bool ReadCount(Reader& in, uint32_t& count) {
    if (!in.U16(count))
        return false;
    return count != 0xFFFF || in.U32(count);
}

bool ReadString(Reader& in, std::string& s) {
    uint32_t n = 0;
    if (!in.U8(n))
        return false;
    if (n == 0xFF) {
        if (!in.U16(n))
            return false;
        // 0xFFFE marks wide characters, which a macro file never holds.
        if (n == 0xFFFE)
            return false;
        if (n == 0xFFFF && !in.U32(n))
            return false;
    }
    return in.Bytes(n, s);
}

bool ReadArray(Reader& in, std::vector<std::string>& strings) {
    strings.clear();
    uint32_t count = 0;
    if (!ReadCount(in, count))
        return false;
    // Every string takes at least one byte: a larger count cannot be honest.
    if (count > static_cast<uint32_t>(in.left()))
        return false;
    strings.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        std::string s;
        if (!ReadString(in, s))
            return false;
        strings.push_back(std::move(s));
    }
    return true;
}

} // namespace

QByteArray WriteMacroFile(const std::vector<std::string>& names, const std::vector<std::string>& texts) {
    QByteArray out;
    PutArray(out, names);
    PutArray(out, texts);
    return out;
}

bool ReadMacroFile(const QByteArray& bytes, std::vector<std::string>& names,
                   std::vector<std::string>& texts) {
    Reader in(bytes);
    texts.clear();
    const bool ok = ReadArray(in, names) && ReadArray(in, texts);
    const size_t n = std::max(names.size(), texts.size());
    names.resize(n);
    texts.resize(n);
    return ok;
}

} // namespace macfile
