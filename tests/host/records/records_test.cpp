#include "host/records/records.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(AddressableRecords, WritesLandInsideTheRecordAndAnythingReachingOutsideIsRefused)
{
    win32::AddressableRecord record(16);
    win32::AddressableRecord neighbour(16);
    const win32::LONG base = record.address();
    ASSERT_GT(base, 0);
    const std::int32_t value = 0x11223344;

    win32::RtlMoveMemory(base + 12, &value, sizeof value); // the last four bytes
    EXPECT_EQ(record.longAt(12), value);
    const win32::BYTE byte = 0xAB;
    win32::RtlMoveMemory(base, &byte, 1);
    EXPECT_EQ(record.byteAt(0), 0xAB);

    // One byte too far, far beyond, and below the first record: nothing is written anywhere.
    const std::int32_t other = -1;
    win32::RtlMoveMemory(base + 13, &other, sizeof other);
    win32::RtlMoveMemory(base + 20, &other, sizeof other);
    win32::RtlMoveMemory(0, &other, sizeof other);
    win32::RtlMoveMemory(-4, &other, sizeof other);
    EXPECT_EQ(record.longAt(12), value);
    for (std::size_t offset = 0; offset < neighbour.size(); ++offset) {
        EXPECT_EQ(neighbour.byteAt(offset), 0) << offset;
    }
    EXPECT_FALSE(record.write(13, &other, sizeof other));
    EXPECT_EQ(record.longAt(13), 0); // a read past the end answers 0
}

TEST(AddressableRecords, AnAddressIsFreeOnlyOnceItsRecordIsGone)
{
    auto record = std::make_unique<win32::AddressableRecord>(8);
    const win32::LONG address = record->address();
    std::size_t offset = 99;
    EXPECT_EQ(win32::recordAt(address + 3, &offset), record.get());
    EXPECT_EQ(offset, 3u);

    record.reset();
    EXPECT_EQ(win32::recordAt(address), nullptr);
    const std::int32_t value = 7;
    win32::RtlMoveMemory(address, &value, sizeof value); // refused, not a crash
    EXPECT_THROW(win32::AddressableRecord(win32::AddressableRecord::kMaxSize + 1),
                 std::length_error);
}

} // namespace
