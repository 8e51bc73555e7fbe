// Whole small files read at once, bounded in size.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quova {

// Reads a whole file (mapped with nativePath) into out, at most maxBytes of it.
// False when it cannot be opened.
bool readFileBytes(std::string_view path, std::string& out, std::size_t maxBytes);

}  // namespace quova
