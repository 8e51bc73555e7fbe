// The radix-2 transform of the fundamental search.
#pragma once

#include <vector>

namespace quova {

// In-place radix-2 complex transform of nn values (interleaved re, im; nn a power of two).
void dft(std::vector<float>& data, int nn, int isign);

}  // namespace quova
