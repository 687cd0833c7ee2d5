// Records the host keeps for its own objects and lets the program reach by a 32-bit address,
// the way a program hands a toolkit's internal record to RtlMoveMemory. An address is not a
// pointer: it names a record and an offset in it, and every write goes through the record's
// bounds check, so a wrong offset is refused instead of landing in someone else's memory.
//
// Addresses: record n (from 1) starts at 0x40000000 + n * 0x10000, so a record holds at most
// 64 KiB and no address of a record is 0 or negative.
#pragma once

#include "host/win32/types.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace win32 {

class AddressableRecord {
public:
    static constexpr std::size_t kMaxSize = 0x10000;

    // A record of `size` zero bytes (at most kMaxSize) with an address of its own.
    explicit AddressableRecord(std::size_t size);
    AddressableRecord(const AddressableRecord&) = delete;
    AddressableRecord& operator=(const AddressableRecord&) = delete;
    ~AddressableRecord();

    [[nodiscard]] LONG address() const { return address_; }
    [[nodiscard]] std::size_t size() const { return bytes_.size(); }

    // Copies `length` bytes in or out at `offset`; false, and nothing copied, unless all of them
    // lie inside the record.
    bool write(std::size_t offset, const void* source, std::size_t length);
    bool read(std::size_t offset, void* destination, std::size_t length) const;

    // Called after every write with its offset and the bytes it replaced, so the record's owner
    // can take over (or let go of) what a program writes into it.
    using WriteObserver = std::function<void(std::size_t offset, const std::vector<BYTE>& before)>;
    void setWriteObserver(WriteObserver observer) { observer_ = std::move(observer); }

    [[nodiscard]] BYTE byteAt(std::size_t offset) const; // 0 outside the record
    [[nodiscard]] LONG longAt(std::size_t offset) const; // 0 outside the record

private:
    LONG address_;
    std::vector<BYTE> bytes_;
    WriteObserver observer_;
};

// The live record an address falls in, and the offset of the address in it; nullptr for any
// other address.
AddressableRecord* recordAt(LONG address, std::size_t* offset = nullptr);

// Copies `length` bytes to the record address `destination`. Refused (nothing written) unless
// the whole block lies inside one live record.
void RtlMoveMemory(LONG destination, const void* source, std::size_t length);

} // namespace win32
