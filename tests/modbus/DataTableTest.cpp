#include "modbus/DataTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace modbus {
namespace {

using enum TFrameSide;
using Bytes = std::vector<uint8_t>;
using Values = std::array<std::string, 4>;

TEST(FrameData, TheDataBytesOfEachKindOfFrame) {
    const std::tuple<Bytes, TFrameSide, Bytes> cases[] = {
        {{1, 0x03, 4, 0x41, 0x20, 0, 0, 0xEE, 0xEE}, Reply, {0x41, 0x20, 0, 0}},
        {{1, 0x03, 2, 0x12, 0x34, 0x56, 0xEE, 0xEE}, Reply, {0x12, 0x34}},  // longer than its count
        {{1, 0x03, 8, 0x12, 0x34, 0xEE, 0xEE}, Reply, {0x12, 0x34}},        // shorter than its count
        {{1, 0x10, 0, 1, 0, 1, 2, 0xAB, 0xCD, 0xEE, 0xEE}, Request, {0xAB, 0xCD}},
        {{1, 0x83, 2, 0xEE, 0xEE}, Reply, {2}},
        {{1, 0x03, 0xEE, 0xEE}, Request, {}},
    };
    for (const auto& [frame, side, data] : cases) {
        const std::span<const uint8_t> found = FrameData(frame, side);
        EXPECT_EQ(Bytes(found.begin(), found.end()), data);
    }
}

// For each type, the wire bytes that put one value into each column: ABCD, CDAB, BADC, DCBA.
TEST(DataTable, EachOrderReadsItsOwnArrangementOfTheBytes) {
    const std::tuple<size_t, std::array<Bytes, 4>, const char*> cases[] = {
        {2, {{{0xFF, 0xFE, 0x1D, 0xC0}, {0x1D, 0xC0, 0xFF, 0xFE}, {0xFE, 0xFF, 0xC0, 0x1D}, {0xC0, 0x1D, 0xFE, 0xFF}}},
         "-123456"},
        {3, {{{0x12, 0x34, 0x56, 0x78}, {0x56, 0x78, 0x12, 0x34}, {0x34, 0x12, 0x78, 0x56}, {0x78, 0x56, 0x34, 0x12}}},
         "305419896"},
        {4, {{{0x41, 0x20, 0, 0}, {0, 0, 0x41, 0x20}, {0x20, 0x41, 0, 0}, {0, 0, 0x20, 0x41}}}, "10"},
        {5,
         {{{0x3F, 0xF0, 0, 0, 0, 0, 0, 1}, {0, 1, 0, 0, 0, 0, 0x3F, 0xF0}, {0xF0, 0x3F, 0, 0, 0, 0, 1, 0},
           {1, 0, 0, 0, 0, 0, 0xF0, 0x3F}}},
         "1"},
    };
    for (const auto& [row, wires, value] : cases) {
        for (size_t column = 0; column < 4; ++column) {
            const Values values = DataTable(wires[column])[row].values;
            for (size_t other = 0; other < 4; ++other) {
                EXPECT_EQ(values[other] == value, other == column) << value << " in " << column << ", read " << other;
            }
        }
    }
}

TEST(DataTable, EveryRowWithValuesOnlyWhereTheDataReaches) {
    const std::vector<TDataRow> rows = DataTable(Bytes{0xFF, 0xFE, 0x99});
    const char* types[] = {"int16", "uint16", "int32", "uint32", "float32", "float64"};
    ASSERT_EQ(rows.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(rows[i].type, types[i]);
    EXPECT_EQ(rows[0].values, (Values{"-2", "-2", "-257", "-257"}));
    EXPECT_EQ(rows[1].values, (Values{"65534", "65534", "65279", "65279"}));
    EXPECT_EQ(rows[2].values, Values{});
    EXPECT_EQ(DataTable(Bytes{0x41, 0x20, 0, 0})[5].values, Values{});
}

}  // namespace
}  // namespace modbus
