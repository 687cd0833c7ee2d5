#include "host/records/records.h"

#include <cstring>
#include <map>
#include <stdexcept>
#include <utility>

namespace win32 {

namespace {

constexpr LONG kFirstAddress = 0x40000000;
constexpr LONG kStride = 0x10000;
constexpr LONG kSlots = 0x3FFF; // keeps every address below 0x80000000

std::map<LONG, AddressableRecord*>& recordsByAddress()
{
    static std::map<LONG, AddressableRecord*> records;
    return records;
}

LONG freeAddress()
{
    const auto& records = recordsByAddress();
    for (LONG slot = 1; slot <= kSlots; ++slot) {
        const LONG address = kFirstAddress + slot * kStride;
        if (!records.contains(address)) {
            return address;
        }
    }
    throw std::length_error("no free record address");
}

} // namespace

AddressableRecord::AddressableRecord(std::size_t size) : address_(freeAddress()), bytes_(size, 0)
{
    if (size > kMaxSize) {
        throw std::length_error("record larger than its address range");
    }
    recordsByAddress().emplace(address_, this);
}

AddressableRecord::~AddressableRecord()
{
    recordsByAddress().erase(address_);
}

bool AddressableRecord::write(std::size_t offset, const void* source, std::size_t length)
{
    if (source == nullptr || offset > bytes_.size() || length > bytes_.size() - offset) {
        return false;
    }
    const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
    const std::vector<BYTE> before(first, first + static_cast<std::ptrdiff_t>(length));
    std::memmove(bytes_.data() + offset, source, length);
    if (observer_) {
        observer_(offset, before);
    }
    return true;
}

bool AddressableRecord::read(std::size_t offset, void* destination, std::size_t length) const
{
    if (destination == nullptr || offset > bytes_.size() || length > bytes_.size() - offset) {
        return false;
    }
    std::memmove(destination, bytes_.data() + offset, length);
    return true;
}

BYTE AddressableRecord::byteAt(std::size_t offset) const
{
    BYTE value = 0;
    read(offset, &value, sizeof value);
    return value;
}

LONG AddressableRecord::longAt(std::size_t offset) const
{
    LONG value = 0;
    if (!read(offset, &value, sizeof value)) {
        return 0;
    }
    return value;
}

AddressableRecord* recordAt(LONG address, std::size_t* offset)
{
    if (address < kFirstAddress + kStride) {
        return nullptr;
    }
    const LONG base = address - ((address - kFirstAddress) % kStride);
    const auto it = recordsByAddress().find(base);
    if (it == recordsByAddress().end()) {
        return nullptr;
    }
    if (offset != nullptr) {
        *offset = static_cast<std::size_t>(address - base);
    }
    return it->second;
}

void RtlMoveMemory(LONG destination, const void* source, std::size_t length)
{
    std::size_t offset = 0;
    if (AddressableRecord* record = recordAt(destination, &offset)) {
        record->write(offset, source, length);
    }
}

} // namespace win32
