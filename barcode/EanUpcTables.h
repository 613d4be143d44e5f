#pragma once

#include <array>

// EAN/UPC digit patterns (ISO/IEC 15420): number set A (L, odd parity),
// number set B (G, even parity) and number set C (R), 7 modules each.
struct EanRow {
    char digit;
    const char *l;
    const char *g;
    const char *r;
};

inline constexpr std::array<EanRow, 10> TabelaEAN{{
    {'0', "0001101", "0100111", "1110010"},
    {'1', "0011001", "0110011", "1100110"},
    {'2', "0010011", "0011011", "1101100"},
    {'3', "0111101", "0100001", "1000010"},
    {'4', "0100011", "0011101", "1011100"},
    {'5', "0110001", "0111001", "1001110"},
    {'6', "0101111", "0000101", "1010000"},
    {'7', "0111011", "0010001", "1000100"},
    {'8', "0110111", "0001001", "1001000"},
    {'9', "0001011", "0010111", "1110100"},
}};

// Number sets of the six left-hand digits of an EAN-13 code, indexed by the
// leading digit, which the symbol carries only through this choice of sets.
inline constexpr std::array<const char *, 10> ParidadeEAN13{{
    "LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
    "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL",
}};

inline constexpr const char *GuardaLateralEAN = "101";
inline constexpr const char *GuardaCentralEAN = "01010";
inline constexpr int EanDigitModules = 7;
