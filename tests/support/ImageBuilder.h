#pragma once

#include "core/protocol/PositionRecord.h"

#include <QByteArray>

#include <algorithm>
#include <string>
#include <vector>

// A run-list image written field by field as the controller lays it out, and the declarations that
// name its entries: the head paragraph, then places (a header, the position and the approach) and
// routes (a header and one paragraph per line slot), each header linked to the next, and the
// terminating zero word. Headers hold the entry's ordinal as name index and 8 at +12.
class ImageBuilder {
public:
    ImageBuilder() : m_image(16, '\0') { Put(0, 16); }

    ImageBuilder& Place(const std::string& name, const PositionRecord& position,
                        const PositionRecord& approach = Record({}, 3)) {
        const int at = Header(name, 2, 3);
        PutRecord(at + 16, position);
        PutRecord(at + 32, approach);
        return *this;
    }
    // A route of `capacity` line slots, the first of which hold `lines`.
    ImageBuilder& Route(const std::string& name, int capacity, const std::vector<PositionRecord>& lines = {},
                        int mode = 0) {
        const int at = Header(name, 4, capacity + 1);
        Put(at + 6, static_cast<int>(lines.size()));
        Put(at + 8, mode);
        for (size_t i = 0; i < lines.size(); ++i)
            PutRecord(at + 16 * static_cast<int>(i + 1), lines[i]);
        return *this;
    }

    // The .run bytes: up to and including the terminating zero word.
    QByteArray Bytes() const { return m_image + QByteArray(2, '\0'); }
    // The .ed1 text.
    std::string Declarations() const { return "KAVENTRIX\nSTARTOVER\n" + m_declarations; }

    static PositionRecord Record(std::initializer_list<int> values, std::uint16_t code = 0) {
        PositionRecord r;
        std::copy(values.begin(), values.end(), r.values);
        r.code = code;
        return r;
    }

private:
    int Header(const std::string& name, int kind, int paragraphs) {
        const int at = static_cast<int>(m_image.size());
        m_image.append(QByteArray(16 * paragraphs, '\0'));
        Put(at, at + 16 * paragraphs);
        Put(at + 2, m_entries++);
        Put(at + 4, kind);
        Put(at + 12, 8);
        m_declarations += (kind == 2 ? "PLACE " : "ROUTE ") + name + "\n";
        return at;
    }
    void Put(int offset, int value) {
        m_image[offset] = static_cast<char>(value & 0xFF);
        m_image[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
    }
    void PutRecord(int offset, const PositionRecord& r) {
        for (int i = 0; i < 6; ++i)
            Put(offset + 2 * i, r.values[i]);
        Put(offset + 12, r.code);
    }

    QByteArray m_image;
    std::string m_declarations;
    int m_entries = 0;
};
