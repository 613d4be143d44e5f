#pragma once

#include <array>

// Code 128 symbol patterns, ISO/IEC 15417 (bar/space widths of each symbol value
// expanded to 11 modules, P = bar, B = space). The value name column holds the
// character set of start character B; the encoder maps every variant through it.
struct Code128Row {
    const char *pattern;
    const char *name;
};

inline constexpr std::array<Code128Row, 106> TabelaCode128{{
    {"PPBPPBBPPBB", " "}, // 0
    {"PPBBPPBPPBB", "!"}, // 1
    {"PPBBPPBBPPB", "\""}, // 2
    {"PBBPBBPPBBB", "#"}, // 3
    {"PBBPBBBPPBB", "$"}, // 4
    {"PBBBPBBPPBB", "%"}, // 5
    {"PBBPPBBPBBB", "&"}, // 6
    {"PBBPPBBBPBB", "'"}, // 7
    {"PBBBPPBBPBB", "("}, // 8
    {"PPBBPBBPBBB", ")"}, // 9
    {"PPBBPBBBPBB", "*"}, // 10
    {"PPBBBPBBPBB", "+"}, // 11
    {"PBPPBBPPPBB", ","}, // 12
    {"PBBPPBPPPBB", "-"}, // 13
    {"PBBPPBBPPPB", "."}, // 14
    {"PBPPPBBPPBB", "/"}, // 15
    {"PBBPPPBPPBB", "0"}, // 16
    {"PBBPPPBBPPB", "1"}, // 17
    {"PPBBPPPBBPB", "2"}, // 18
    {"PPBBPBPPPBB", "3"}, // 19
    {"PPBBPBBPPPB", "4"}, // 20
    {"PPBPPPBBPBB", "5"}, // 21
    {"PPBBPPPBPBB", "6"}, // 22
    {"PPPBPPBPPPB", "7"}, // 23
    {"PPPBPBBPPBB", "8"}, // 24
    {"PPPBBPBPPBB", "9"}, // 25
    {"PPPBBPBBPPB", ":"}, // 26
    {"PPPBPPBBPBB", ";"}, // 27
    {"PPPBBPPBPBB", "<"}, // 28
    {"PPPBBPPBBPB", "="}, // 29
    {"PPBPPBPPBBB", ">"}, // 30
    {"PPBPPBBBPPB", "?"}, // 31
    {"PPBBBPPBPPB", "@"}, // 32
    {"PBPBBBPPBBB", "A"}, // 33
    {"PBBBPBPPBBB", "B"}, // 34
    {"PBBBPBBBPPB", "C"}, // 35
    {"PBPPBBBPBBB", "D"}, // 36
    {"PBBBPPBPBBB", "E"}, // 37
    {"PBBBPPBBBPB", "F"}, // 38
    {"PPBPBBBPBBB", "G"}, // 39
    {"PPBBBPBPBBB", "H"}, // 40
    {"PPBBBPBBBPB", "I"}, // 41
    {"PBPPBPPPBBB", "J"}, // 42
    {"PBPPBBBPPPB", "K"}, // 43
    {"PBBBPPBPPPB", "L"}, // 44
    {"PBPPPBPPBBB", "M"}, // 45
    {"PBPPPBBBPPB", "N"}, // 46
    {"PBBBPPPBPPB", "O"}, // 47
    {"PPPBPPPBPPB", "P"}, // 48
    {"PPBPBBBPPPB", "Q"}, // 49
    {"PPBBBPBPPPB", "R"}, // 50
    {"PPBPPPBPBBB", "S"}, // 51
    {"PPBPPPBBBPB", "T"}, // 52
    {"PPBPPPBPPPB", "U"}, // 53
    {"PPPBPBPPBBB", "V"}, // 54
    {"PPPBPBBBPPB", "W"}, // 55
    {"PPPBBBPBPPB", "X"}, // 56
    {"PPPBPPBPBBB", "Y"}, // 57
    {"PPPBPPBBBPB", "Z"}, // 58
    {"PPPBBBPPBPB", "["}, // 59
    {"PPPBPPPPBPB", "\\"}, // 60
    {"PPBBPBBBBPB", "]"}, // 61
    {"PPPPBBBPBPB", "^"}, // 62
    {"PBPBBPPBBBB", "_"}, // 63
    {"PBPBBBBPPBB", "`"}, // 64
    {"PBBPBPPBBBB", "a"}, // 65
    {"PBBPBBBBPPB", "b"}, // 66
    {"PBBBBPBPPBB", "c"}, // 67
    {"PBBBBPBBPPB", "d"}, // 68
    {"PBPPBBPBBBB", "e"}, // 69
    {"PBPPBBBBPBB", "f"}, // 70
    {"PBBPPBPBBBB", "g"}, // 71
    {"PBBPPBBBBPB", "h"}, // 72
    {"PBBBBPPBPBB", "i"}, // 73
    {"PBBBBPPBBPB", "j"}, // 74
    {"PPBBBBPBBPB", "k"}, // 75
    {"PPBBPBPBBBB", "l"}, // 76
    {"PPPPBPPPBPB", "m"}, // 77
    {"PPBBBBPBPBB", "n"}, // 78
    {"PBBBPPPPBPB", "o"}, // 79
    {"PBPBBPPPPBB", "p"}, // 80
    {"PBBPBPPPPBB", "q"}, // 81
    {"PBBPBBPPPPB", "r"}, // 82
    {"PBPPPPBBPBB", "s"}, // 83
    {"PBBPPPPBPBB", "t"}, // 84
    {"PBBPPPPBBPB", "u"}, // 85
    {"PPPPBPBBPBB", "v"}, // 86
    {"PPPPBBPBPBB", "w"}, // 87
    {"PPPPBBPBBPB", "x"}, // 88
    {"PPBPPBPPPPB", "y"}, // 89
    {"PPBPPPPBPPB", "z"}, // 90
    {"PPPPBPPBPPB", "{"}, // 91
    {"PBPBPPPPBBB", "|"}, // 92
    {"PBPBBBPPPPB", "}"}, // 93
    {"PBBBPBPPPPB", "~"}, // 94
    {"PBPPPPBPBBB", "DEL"}, // 95
    {"PBPPPPBBBPB", "FNC3"}, // 96
    {"PPPPBPBPBBB", "FNC2"}, // 97
    {"PPPPBPBBBPB", "SHIFT"}, // 98
    {"PBPPPBPPPPB", "CODE C"}, // 99
    {"PBPPPPBPPPB", "FNC4"}, // 100
    {"PPPBPBPPPPB", "CODE A"}, // 101
    {"PPPPBPBPPPB", "FNC1"}, // 102
    {"PPBPBBBBPBB", "START CODE A"}, // 103
    {"PPBPBBPBBBB", "START CODE B"}, // 104
    {"PPBPBBPPPBB", "START CODE C"}, // 105
}};

inline constexpr int Code128StartA = 103;
inline constexpr int Code128StartB = 104;
inline constexpr int Code128StartC = 105;

inline constexpr const char *InicioCode128A = TabelaCode128[Code128StartA].pattern;
inline constexpr const char *InicioCode128B = TabelaCode128[Code128StartB].pattern;
inline constexpr const char *InicioCode128C = TabelaCode128[Code128StartC].pattern;

// The stop symbol with its final bar: widths 2 3 3 1 1 1 2, 13 modules.
inline constexpr const char *FimCode128 = "PPBBBPPPBPBPP";
