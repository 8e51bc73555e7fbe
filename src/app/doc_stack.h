// The document stack: two entries per open document window, its path (without the
// working-directory prefix) and its title, written to quova.win at close.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quova {

// The path as the stack keeps it: a path that begins with quovaPath loses that prefix.
std::string stackPath(std::string_view path, std::string_view quovaPath);
void PushDocStack(std::vector<std::string>& stack, std::string_view path, std::string_view title,
                  std::string_view quovaPath);
// Removes the first pair whose path equals the shortened path, letter case ignored; false
// when there is none.
bool PopDocStack(std::vector<std::string>& stack, std::string_view path, std::string_view quovaPath);

}  // namespace quova
