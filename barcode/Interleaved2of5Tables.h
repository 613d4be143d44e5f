#pragma once

// Interleaved 2 of 5 digit widths (ISO/IEC 16390): digit d owns the five
// characters from index 5d, "1" wide and "0" narrow. The eleventh group repeats
// digit 0 and is never read.
inline constexpr const char *Larguras2e5I = "0011010001010011100000101101000110000011100100101000110";
inline constexpr int Larguras2e5IPerDigit = 5;

// Narrow bar, narrow space, narrow bar, narrow space.
inline constexpr const char *Inicio2e5I = "PBPB";
// Wide bar, narrow space, narrow bar.
inline constexpr const char *Fim2e5I = "PPPBP";

// Wide elements are three modules, narrow ones one.
inline constexpr int Largo2e5I = 3;
