#include "modbus/DataTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace modbus {
namespace {

using enum TFrameSide;
using Bytes = std::vector<uint8_t>;

Bytes ToVector(std::span<const uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

TEST(FrameData, TheDataBytesOfEachKindOfFrame) {
    struct Case {
        const char* name;
        Bytes frame;
        TFrameSide side;
        Bytes data;
    };
    const Case cases[] = {
        {"a read reply", {0x01, 0x03, 0x04, 0x41, 0x20, 0x00, 0x00, 0xEE, 0xEE}, Reply, {0x41, 0x20, 0x00, 0x00}},
        {"a reply longer than its count", {0x01, 0x03, 0x02, 0x12, 0x34, 0x56, 0xEE, 0xEE}, Reply, {0x12, 0x34}},
        {"a reply shorter than its count", {0x01, 0x03, 0x08, 0x12, 0x34, 0xEE, 0xEE}, Reply, {0x12, 0x34}},
        {"a reply cut before its data", {0x01, 0x03, 0x08, 0xEE, 0xEE}, Reply, {}},
        {"a write request", {0x01, 0x10, 0x00, 0x01, 0x00, 0x01, 0x02, 0xAB, 0xCD, 0xEE, 0xEE}, Request, {0xAB, 0xCD}},
        {"a write reply", {0x01, 0x10, 0x00, 0x01, 0x00, 0x01, 0xEE, 0xEE}, Reply, {0x00, 0x01, 0x00, 0x01}},
        {"a read request", {0x01, 0x03, 0x00, 0x01, 0x00, 0x04, 0xEE, 0xEE}, Request, {0x00, 0x01, 0x00, 0x04}},
        {"an exception", {0x01, 0x83, 0x02, 0xEE, 0xEE}, Reply, {0x02}},
        {"no CRC room", {0x01, 0x03, 0x00}, Request, {}},
        {"slave and function alone", {0x01, 0x03, 0xEE, 0xEE}, Request, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ToVector(FrameData(c.frame, c.side)), c.data) << c.name;
}

// The wire bytes that put one value into each order's column, ABCD, CDAB, BADC, DCBA.
TEST(DataTable, EachOrderReadsItsOwnArrangementOfTheBytes) {
    struct Case {
        const char* type;
        std::array<Bytes, 4> wire;
        const char* value;
    };
    const Case cases[] = {
        {"float32", {{{0x41, 0x20, 0, 0}, {0, 0, 0x41, 0x20}, {0x20, 0x41, 0, 0}, {0, 0, 0x20, 0x41}}}, "10"},
        {"float64",
         {{{0x3F, 0xF0, 0, 0, 0, 0, 0, 0x01},
           {0, 0x01, 0, 0, 0, 0, 0x3F, 0xF0},
           {0xF0, 0x3F, 0, 0, 0, 0, 0x01, 0},
           {0x01, 0, 0, 0, 0, 0, 0xF0, 0x3F}}},
         "1"},
        {"int32", {{{0xFF, 0xFE, 0x1D, 0xC0}, {0x1D, 0xC0, 0xFF, 0xFE}, {0xFE, 0xFF, 0xC0, 0x1D}, {0xC0, 0x1D, 0xFE, 0xFF}}},
         "-123456"},
        {"uint32", {{{0x12, 0x34, 0x56, 0x78}, {0x56, 0x78, 0x12, 0x34}, {0x34, 0x12, 0x78, 0x56}, {0x78, 0x56, 0x34, 0x12}}},
         "305419896"},
    };
    for (const Case& c : cases) {
        for (size_t column = 0; column < 4; ++column) {
            const std::vector<TDataRow> rows = DataTable(c.wire[column]);
            const auto row = std::find_if(rows.begin(), rows.end(), [&](const TDataRow& r) { return r.type == c.type; });
            ASSERT_NE(row, rows.end()) << c.type;
            EXPECT_EQ(row->values[column], c.value) << c.type << " column " << column;
            for (size_t other = 0; other < 4; ++other) {
                if (other != column) {
                    EXPECT_NE(row->values[other], c.value) << c.type << " column " << other;
                }
            }
        }
    }
}

TEST(DataTable, AllRowsInOrderWithValuesOnlyWhereTheDataReaches) {
    using Values = std::array<std::string, 4>;
    const std::vector<TDataRow> pair = DataTable(Bytes{0xFF, 0xFE, 0x99});
    ASSERT_EQ(pair.size(), 6u);
    const char* types[] = {"int16", "uint16", "int32", "uint32", "float32", "float64"};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(pair[i].type, types[i]);
    EXPECT_EQ(pair[0].values, (Values{"-2", "-2", "-257", "-257"}));
    EXPECT_EQ(pair[1].values, (Values{"65534", "65534", "65279", "65279"}));
    for (size_t i = 2; i < 6; ++i) EXPECT_EQ(pair[i].values, Values{}) << types[i];

    const std::vector<TDataRow> four = DataTable(Bytes{0x41, 0x20, 0x00, 0x00, 0x00});
    EXPECT_EQ(four[2].values, (Values{"1092616192", "16672", "541130752", "8257"}));
    EXPECT_EQ(four[4].values[0], "10");
    EXPECT_EQ(four[5].values, Values{});
    EXPECT_EQ(DataTable({})[0].values, Values{});
}

}  // namespace
}  // namespace modbus
