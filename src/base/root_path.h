// Paths under the program's root.
#pragma once

#include <string>
#include <string_view>

namespace quova {

// A path under the program's root (QUOVA when set, else the working directory).
std::string rootPath(std::string_view relative);

}  // namespace quova
