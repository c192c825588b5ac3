#pragma once

#include "project/Colour.h"

#include <cstdint>

// Pixel kernels over BGR byte triples. src and dst may be the same buffer.

// dst[i] = table[2 R + 6 G + B of src[i]] for count pixels.
void RecolourSpan(const std::uint8_t* src, std::uint8_t* dst, int count,
                  const std::uint32_t* table);

// count pixels of one flat colour.
void FillSpan(std::uint8_t* dst, int count, Colour colour);
