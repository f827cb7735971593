#include "core/robot/SettingsCodec.h"

#include <cstdint>

namespace {

class Writer {
public:
    void Word(int value) {
        const auto v = static_cast<std::uint16_t>(value & 0xFFFF);
        Byte(v & 0xFF);
        Byte(v >> 8);
    }
    void Long(std::uint32_t v) {
        Word(static_cast<int>(v & 0xFFFF));
        Word(static_cast<int>(v >> 16));
    }
    void Byte(unsigned v) { m_bytes.append(static_cast<char>(v & 0xFF)); }
    // A count is one word below 0xFFFF, otherwise 0xFFFF and a 32-bit count.
    void Count(std::size_t n) {
        if (n < 0xFFFF) {
            Word(static_cast<int>(n));
            return;
        }
        Word(0xFFFF);
        Long(static_cast<std::uint32_t>(n));
    }
    // A string is its length (one byte below 255, then 0xFF and a word below 0xFFFE, then 0xFF 0xFFFF
    // and a 32-bit length) followed by its bytes.
    void String(const std::string& s) {
        const std::size_t n = s.size();
        if (n < 0xFF) {
            Byte(static_cast<unsigned>(n));
        } else if (n < 0xFFFE) {
            Byte(0xFF);
            Word(static_cast<int>(n));
        } else {
            Byte(0xFF);
            Word(0xFFFF);
            Long(static_cast<std::uint32_t>(n));
        }
        m_bytes.append(s.data(), static_cast<qsizetype>(n));
    }
    void Strings(const std::vector<std::string>& list) {
        Count(list.size());
        for (const std::string& s : list)
            String(s);
    }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Reads from the file's bytes; every read fails once the bytes are used up.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool Byte(unsigned& v) {
        if (m_pos >= m_bytes.size())
            return false;
        v = static_cast<unsigned char>(m_bytes[m_pos++]);
        return true;
    }
    bool Word(int& v) {
        unsigned lo = 0, hi = 0;
        if (!Byte(lo) || !Byte(hi))
            return false;
        v = static_cast<int>(lo | (hi << 8)); // zero-extended
        return true;
    }
    bool Long(std::uint32_t& v) {
        int lo = 0, hi = 0;
        if (!Word(lo) || !Word(hi))
            return false;
        v = static_cast<std::uint32_t>(lo) | (static_cast<std::uint32_t>(hi) << 16);
        return true;
    }
    bool Count(std::uint32_t& n) {
        int w = 0;
        if (!Word(w))
            return false;
        if (w != 0xFFFF) {
            n = static_cast<std::uint32_t>(w);
            return true;
        }
        return Long(n);
    }
    bool String(std::string& s) {
        unsigned b = 0;
        if (!Byte(b))
            return false;
        std::uint32_t n = b;
        if (b == 0xFF) {
            int w = 0;
            if (!Word(w))
                return false;
            n = static_cast<std::uint32_t>(w);
            if (w == 0xFFFF && !Long(n))
                return false;
        }
        if (n > static_cast<std::uint32_t>(m_bytes.size() - m_pos))
            return false;
        s.assign(m_bytes.constData() + m_pos, n);
        m_pos += static_cast<qsizetype>(n);
        return true;
    }
    bool Strings(std::vector<std::string>& list) {
        std::uint32_t n = 0;
        if (!Count(n))
            return false;
        // Every string takes at least its length byte: a larger count cannot be in the file.
        if (n > static_cast<std::uint32_t>(m_bytes.size() - m_pos))
            return false;
        list.assign(n, std::string());
        for (std::string& s : list)
            if (!String(s))
                return false;
        return true;
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
};

bool CountInRange(int n) {
    return n >= 1 && n <= 6;
}

} // namespace

QByteArray EncodeSettings(const SettingsValues& v) {
    Writer w;
    w.Word(SettingsValues::kVersion);
    for (int word : {v.field2, v.field3, v.cartesianAxes, v.joints, v.simulate})
        w.Word(word);
    for (int word : v.axisWords)
        w.Word(word);
    for (int word : {v.field13, v.newRouteCoordinates, v.field15, v.field16, v.field17, v.field18, v.field19,
                     v.hideMode})
        w.Word(word);
    w.Strings(v.jointNames);
    w.Strings(v.axisNames);
    return w.bytes();
}

SettingsDecode DecodeSettings(const QByteArray& bytes, SettingsValues& values) {
    Reader r(bytes);
    int version = 0;
    if (!r.Word(version))
        return SettingsDecode::Damaged;
    if (version != SettingsValues::kVersion)
        return SettingsDecode::WrongVersion;

    SettingsValues v = values;
    int dropped = 0;
    bool ok = r.Word(v.field2) && r.Word(v.field3) && r.Word(v.cartesianAxes) && r.Word(v.joints) &&
              r.Word(v.simulate);
    for (int& word : v.axisWords)
        ok = ok && r.Word(word);
    ok = ok && r.Word(dropped) && r.Word(dropped) && r.Word(v.field15) && r.Word(v.field16) &&
         r.Word(v.field17) && r.Word(dropped) && r.Word(v.field19) && r.Word(v.hideMode);
    ok = ok && r.Strings(v.jointNames) && r.Strings(v.axisNames);
    if (!ok || !CountInRange(v.joints) || !CountInRange(v.cartesianAxes))
        return SettingsDecode::Damaged;
    values = std::move(v);
    return SettingsDecode::Ok;
}
