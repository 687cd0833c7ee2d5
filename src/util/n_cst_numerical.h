// Bit tests and bitwise operations on 32-bit (long) and 16-bit (integer) whole numbers, built
// from arithmetic, and conversion of a long to and from a text of binary digits.
//
// Bits are numbered from 1: bit n is worth 2^(n-1), bit 32 is a long's sign bit and bit 16 an
// integer's. A long is read through its 32-bit two's-complement pattern, so -1 has every bit set.
// A binary text holds one character per bit, least significant bit first ("011" + 29 "0" is 6).
//
// Null semantics follow the host: every number may be null (an empty optional).
//   - of_getbit reads a null number as having no bit set, so the two-operand operations and
//     of_bitwisenot treat a null operand as 0; their results are never null.
//   - of_setbit, of_clearbit and of_flipbit of a null number, of_binary of null and of_decimal
//     of null are null.
//   - Bit number 0 raises host::RuntimeError (DivisionByZero) from every operation that reads a
//     bit, whether or not the number is null. Bit numbers above the width of the number read as
//     0 and leave the number unchanged when set, cleared or flipped.
// Every result is exact: bit 1 of a negative number is read as its true value.
//
// The long and integer forms share their names; pass Long or Integer values (a bare int converts
// to both, so the call would be ambiguous).
//
// The class keeps no state: any instance may be used, one caller at a time, and copied freely.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class n_cst_numerical {
public:
    using Long = std::optional<std::int32_t>;
    using Integer = std::optional<std::int16_t>;
    using BitNumber = std::uint16_t;

    // The binary text of a number: always 32 characters, least significant bit first.
    std::optional<std::string> of_binary(Long al_decimal) const;

    // The number a binary text stands for. The last character is taken as the sign and widened
    // to 32 bits ("1" is -1, "011" is -2, "0110" is 6); characters after the 32nd are ignored.
    // Only "1" counts as a set bit: any other character, "0" included, counts as 0, and the
    // empty text is 0.
    Long of_decimal(std::optional<std::string> as_binary) const;

    // Whether bit aui_bit of the number is 1; never null.
    bool of_getbit(Long al_decimal, BitNumber aui_bit) const;

    std::int32_t of_bitwiseand(Long al_decimala, Long al_decimalb) const;
    std::int32_t of_bitwiseor(Long al_decimala, Long al_decimalb) const;
    Long of_setbit(Long al_decimal, BitNumber aui_bit) const;
    Long of_clearbit(Long al_decimal, BitNumber aui_bit) const;
    Long of_flipbit(Long al_decimal, BitNumber aui_bit) const;
    std::int32_t of_bitwisenot(Long al_decimal) const;
    std::int32_t of_bitwisexor(Long al_decimala, Long al_decimalb) const;

    // Integer forms: they read bits 1 to 16 of the sign-extended number and wrap at 16 bits,
    // so setting bit 16 of 0 gives -32768.
    std::int16_t of_bitwiseand(Integer ai_decimala, Integer ai_decimalb) const;
    std::int16_t of_bitwiseor(Integer ai_decimala, Integer ai_decimalb) const;
    Integer of_setbit(Integer ai_decimal, BitNumber aui_bit) const;
    Integer of_clearbit(Integer ai_decimal, BitNumber aui_bit) const;
    Integer of_flipbit(Integer ai_decimal, BitNumber aui_bit) const;
    std::int16_t of_bitwisenot(Integer ai_decimal) const;
    std::int16_t of_bitwisexor(Integer ai_decimala, Integer ai_decimalb) const;
};
