#include "core/protocol/PositionRecord.h"

#include <gtest/gtest.h>

TEST(PositionRecordTest, BytesAreLittleEndian) {
    PositionRecord rec;
    rec.values[0] = 0x1234;
    rec.values[5] = -2;
    rec.code = 0x0203;
    uint8_t bytes[16];
    rec.Write(bytes);
    EXPECT_EQ(bytes[0], 0x34);
    EXPECT_EQ(bytes[1], 0x12);
    EXPECT_EQ(bytes[10], 0xFE);
    EXPECT_EQ(bytes[11], 0xFF);
    EXPECT_EQ(bytes[12], 0x03);
    EXPECT_EQ(bytes[13], 0x02);
    EXPECT_EQ(bytes[14], 0);
    EXPECT_EQ(PositionRecord::Read(bytes), rec);
}

TEST(PositionRecordTest, ValueOperations) {
    PositionRecord a, b;
    a.values[0] = 30000;
    b.values[0] = 10000;
    a.values[1] = -30000;
    b.values[1] = 10000;
    a.code = 2;
    a.zero = 0x7777;
    PositionRecord sum = a;
    AddRecord(sum, b);
    EXPECT_EQ(sum.values[0], -25536);
    SubtractRecord(sum, b);
    EXPECT_EQ(sum, a);
    SubtractRecord(sum, b);
    EXPECT_EQ(sum.values[1], 25536);

    ClearRecord(a, 3);
    EXPECT_TRUE(IsZeroRecord(a));
    EXPECT_EQ(a.code, 3);
    EXPECT_EQ(a.zero, 0x7777);
    b.code = 9;
    ZeroValues(b);
    EXPECT_TRUE(IsZeroRecord(b));
    EXPECT_EQ(b.code, 9);
}
