#include "util/n_cst_numerical.h"

#include "host/toolkit/runtime_error.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kLongBits = 32;
constexpr int kIntegerBits = 16;

// 2^(bit-1) reduced modulo 2^32: what adding or subtracting that power does to a 32-bit number
// once the sum wraps. Bits past 32 are worth a multiple of 2^32 and so change nothing.
std::uint32_t bitValue(n_cst_numerical::BitNumber bit)
{
    return bit >= 1 && bit <= kLongBits ? std::uint32_t{1} << (bit - 1) : 0U;
}

// Two's-complement wrapping, as the host's 32-bit and 16-bit arithmetic does.
std::int32_t wrapLong(std::uint32_t pattern)
{
    return static_cast<std::int32_t>(pattern);
}

std::int16_t wrapInteger(std::uint32_t pattern)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(pattern & 0xFFFFU));
}

n_cst_numerical::Long signExtended(n_cst_numerical::Integer value)
{
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*value);
}

} // namespace

std::optional<std::string> n_cst_numerical::of_binary(Long al_decimal) const
{
    if (!al_decimal) {
        return std::nullopt;
    }
    auto lul_decimal = static_cast<std::uint32_t>(*al_decimal);
    std::string ls_binary;
    ls_binary.reserve(kLongBits);
    for (int lui_cnt = 1; lui_cnt <= kLongBits; ++lui_cnt) {
        const std::uint32_t ll_remainder = lul_decimal % 2;
        lul_decimal /= 2;
        ls_binary += ll_remainder == 1 ? '1' : '0';
    }
    return ls_binary;
}

n_cst_numerical::Long n_cst_numerical::of_decimal(std::optional<std::string> as_binary) const
{
    if (!as_binary) {
        return std::nullopt;
    }
    std::string digits = std::move(*as_binary);
    if (!digits.empty()) {
        // The last digit is the sign: widen it as far as a long reaches.
        digits.append(kLongBits - 1, digits.back());
    }
    std::uint32_t ll_decimal = 0;
    const std::size_t used = std::min<std::size_t>(digits.size(), kLongBits);
    for (std::size_t lui_cnt = 1; lui_cnt <= used; ++lui_cnt) {
        if (digits[lui_cnt - 1] == '1') {
            ll_decimal += bitValue(static_cast<BitNumber>(lui_cnt));
        }
    }
    return wrapLong(ll_decimal);
}

bool n_cst_numerical::of_getbit(Long al_decimal, BitNumber aui_bit) const
{
    // The bit is read by dividing by its power of two, so bit 0 divides by zero (2^-1
    // truncated), and it does so before the number is looked at.
    const double p = std::trunc(std::pow(2.0, static_cast<double>(aui_bit) - 1.0));
    if (p == 0.0) {
        throw host::RuntimeError(host::RuntimeError::Kind::DivisionByZero);
    }
    if (!al_decimal) {
        return false;
    }
    // In double precision both the unsigned pattern and its quotient by a power of two are
    // exact, so every bit, bit 1 of a negative number included, reads as its true value.
    const double lul_decimal = static_cast<double>(static_cast<std::uint32_t>(*al_decimal));
    const double q = std::trunc(lul_decimal / p);
    return std::fmod(q, 2.0) > 0.0;
}

n_cst_numerical::Long n_cst_numerical::of_setbit(Long al_decimal, BitNumber aui_bit) const
{
    if (of_getbit(al_decimal, aui_bit) || !al_decimal) {
        return al_decimal;
    }
    return wrapLong(static_cast<std::uint32_t>(*al_decimal) + bitValue(aui_bit));
}

n_cst_numerical::Long n_cst_numerical::of_clearbit(Long al_decimal, BitNumber aui_bit) const
{
    if (!of_getbit(al_decimal, aui_bit)) {
        return al_decimal;
    }
    return wrapLong(static_cast<std::uint32_t>(*al_decimal) - bitValue(aui_bit));
}

n_cst_numerical::Long n_cst_numerical::of_flipbit(Long al_decimal, BitNumber aui_bit) const
{
    if (!of_getbit(al_decimal, aui_bit)) {
        return of_setbit(al_decimal, aui_bit);
    }
    return of_clearbit(al_decimal, aui_bit);
}

std::int32_t n_cst_numerical::of_bitwiseand(Long al_decimala, Long al_decimalb) const
{
    Long ll_decimal = 0;
    for (BitNumber lui_bit = 1; lui_bit <= kLongBits; ++lui_bit) {
        if (of_getbit(al_decimala, lui_bit) && of_getbit(al_decimalb, lui_bit)) {
            ll_decimal = of_setbit(ll_decimal, lui_bit);
        }
    }
    return *ll_decimal;
}

std::int32_t n_cst_numerical::of_bitwiseor(Long al_decimala, Long al_decimalb) const
{
    Long ll_decimal = 0;
    for (BitNumber lui_bit = 1; lui_bit <= kLongBits; ++lui_bit) {
        if (of_getbit(al_decimala, lui_bit) || of_getbit(al_decimalb, lui_bit)) {
            ll_decimal = of_setbit(ll_decimal, lui_bit);
        }
    }
    return *ll_decimal;
}

std::int32_t n_cst_numerical::of_bitwisenot(Long al_decimal) const
{
    Long ll_decimal = 0;
    for (BitNumber lui_bit = 1; lui_bit <= kLongBits; ++lui_bit) {
        if (!of_getbit(al_decimal, lui_bit)) {
            ll_decimal = of_setbit(ll_decimal, lui_bit);
        }
    }
    return *ll_decimal;
}

std::int32_t n_cst_numerical::of_bitwisexor(Long al_decimala, Long al_decimalb) const
{
    std::uint32_t ll_decimal = 0;
    for (BitNumber lui_bit = 1; lui_bit <= kLongBits; ++lui_bit) {
        if (of_getbit(al_decimala, lui_bit) != of_getbit(al_decimalb, lui_bit)) {
            // The bit is still clear in the accumulator, so adding its value sets it.
            ll_decimal += bitValue(lui_bit);
        }
    }
    return wrapLong(ll_decimal);
}

// Integer forms: the number is read through the long of_getbit after sign extension.

n_cst_numerical::Integer n_cst_numerical::of_setbit(Integer ai_decimal, BitNumber aui_bit) const
{
    if (of_getbit(signExtended(ai_decimal), aui_bit) || !ai_decimal) {
        return ai_decimal;
    }
    return wrapInteger(static_cast<std::uint32_t>(*ai_decimal) + bitValue(aui_bit));
}

n_cst_numerical::Integer n_cst_numerical::of_clearbit(Integer ai_decimal, BitNumber aui_bit) const
{
    if (!of_getbit(signExtended(ai_decimal), aui_bit)) {
        return ai_decimal;
    }
    return wrapInteger(static_cast<std::uint32_t>(*ai_decimal) - bitValue(aui_bit));
}

n_cst_numerical::Integer n_cst_numerical::of_flipbit(Integer ai_decimal, BitNumber aui_bit) const
{
    if (!of_getbit(signExtended(ai_decimal), aui_bit)) {
        return of_setbit(ai_decimal, aui_bit);
    }
    return of_clearbit(ai_decimal, aui_bit);
}

std::int16_t n_cst_numerical::of_bitwiseand(Integer ai_decimala, Integer ai_decimalb) const
{
    const Long la = signExtended(ai_decimala);
    const Long lb = signExtended(ai_decimalb);
    Integer li_decimal = 0;
    for (BitNumber lui_bit = 1; lui_bit <= kIntegerBits; ++lui_bit) {
        if (of_getbit(la, lui_bit) && of_getbit(lb, lui_bit)) {
            li_decimal = of_setbit(li_decimal, lui_bit);
        }
    }
    return *li_decimal;
}

std::int16_t n_cst_numerical::of_bitwiseor(Integer ai_decimala, Integer ai_decimalb) const
{
    const Long la = signExtended(ai_decimala);
    const Long lb = signExtended(ai_decimalb);
    Integer li_decimal = 0;
    for (BitNumber lui_bit = 1; lui_bit <= kIntegerBits; ++lui_bit) {
        if (of_getbit(la, lui_bit) || of_getbit(lb, lui_bit)) {
            li_decimal = of_setbit(li_decimal, lui_bit);
        }
    }
    return *li_decimal;
}

std::int16_t n_cst_numerical::of_bitwisenot(Integer ai_decimal) const
{
    const Long la = signExtended(ai_decimal);
    Integer li_decimal = 0;
    for (BitNumber lui_bit = 1; lui_bit <= kIntegerBits; ++lui_bit) {
        if (!of_getbit(la, lui_bit)) {
            li_decimal = of_setbit(li_decimal, lui_bit);
        }
    }
    return *li_decimal;
}

std::int16_t n_cst_numerical::of_bitwisexor(Integer ai_decimala, Integer ai_decimalb) const
{
    const Long la = signExtended(ai_decimala);
    const Long lb = signExtended(ai_decimalb);
    Integer li_decimal = 0;
    for (BitNumber lui_bit = 1; lui_bit <= kIntegerBits; ++lui_bit) {
        if (of_getbit(la, lui_bit) != of_getbit(lb, lui_bit)) {
            li_decimal = of_setbit(li_decimal, lui_bit);
        }
    }
    return *li_decimal;
}
