#pragma once

#include <array>

// Code 39 character patterns (ANSI/AIM BC1, ISO/IEC 16388): nine elements, three
// of them wide, spelled narrow = 1 module and wide = 3 modules (ratio 3:1) and
// framed by one space module on each side, so neighbours are two modules apart.
struct Code39Row {
    char character;
    const char *pattern;
};

inline constexpr int Code39PatternLength = 17;

inline constexpr std::array<Code39Row, 44> TabelaCode39{{
    {'0', "BPBPBBBPPPBPPPBPB"}, {'1', "BPPPBPBBBPBPBPPPB"},
    {'2', "BPBPPPBBBPBPBPPPB"}, {'3', "BPPPBPPPBBBPBPBPB"},
    {'4', "BPBPBBBPPPBPBPPPB"}, {'5', "BPPPBPBBBPPPBPBPB"},
    {'6', "BPBPPPBBBPPPBPBPB"}, {'7', "BPBPBBBPBPPPBPPPB"},
    {'8', "BPPPBPBBBPBPPPBPB"}, {'9', "BPBPPPBBBPBPPPBPB"},
    {'A', "BPPPBPBPBBBPBPPPB"}, {'B', "BPBPPPBPBBBPBPPPB"},
    {'C', "BPPPBPPPBPBBBPBPB"}, {'D', "BPBPBPPPBBBPBPPPB"},
    {'E', "BPPPBPBPPPBBBPBPB"}, {'F', "BPBPPPBPPPBBBPBPB"},
    {'G', "BPBPBPBBBPPPBPPPB"}, {'H', "BPPPBPBPBBBPPPBPB"},
    {'I', "BPBPPPBPBBBPPPBPB"}, {'J', "BPBPBPPPBBBPPPBPB"},
    {'K', "BPPPBPBPBPBBBPPPB"}, {'L', "BPBPPPBPBPBBBPPPB"},
    {'M', "BPPPBPPPBPBPBBBPB"}, {'N', "BPBPBPPPBPBBBPPPB"},
    {'O', "BPPPBPBPPPBPBBBPB"}, {'P', "BPBPPPBPPPBPBBBPB"},
    {'Q', "BPBPBPBPPPBBBPPPB"}, {'R', "BPPPBPBPBPPPBBBPB"},
    {'S', "BPBPPPBPBPPPBBBPB"}, {'T', "BPBPBPPPBPPPBBBPB"},
    {'U', "BPPPBBBPBPBPBPPPB"}, {'V', "BPBBBPPPBPBPBPPPB"},
    {'W', "BPPPBBBPPPBPBPBPB"}, {'X', "BPBBBPBPPPBPBPPPB"},
    {'Y', "BPPPBBBPBPPPBPBPB"}, {'Z', "BPBBBPPPBPPPBPBPB"},
    {'-', "BPBBBPBPBPPPBPPPB"}, {'.', "BPPPBBBPBPBPPPBPB"},
    {' ', "BPBBBPPPBPBPPPBPB"}, {'*', "BPBBBPBPPPBPPPBPB"},
    {'$', "BPBBBPBBBPBBBPBPB"}, {'/', "BPBBBPBBBPBPBBBPB"},
    {'+', "BPBBBPBPBBBPBBBPB"}, {'%', "BPBPBBBPBBBPBBBPB"},
}};

// "*" frames every Code 39 symbol as its start and stop character.
inline constexpr char Code39Delimiter = '*';
