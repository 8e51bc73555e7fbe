// Pushing and popping the document stack's path/title pairs.
#include "app/doc_stack.h"

#include <algorithm>
#include <cctype>

#include "base/log.h"

namespace quova {

namespace {
bool equalNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}
}  // namespace

std::string stackPath(std::string_view path, std::string_view quovaPath) {
  if (!quovaPath.empty() && path.substr(0, quovaPath.size()) == quovaPath) path.remove_prefix(quovaPath.size());
  return std::string(path);
}

void PushDocStack(std::vector<std::string>& stack, std::string_view path, std::string_view title,
                  std::string_view quovaPath) {
  stack.push_back(stackPath(path, quovaPath));
  stack.emplace_back(title);
}

bool PopDocStack(std::vector<std::string>& stack, std::string_view path, std::string_view quovaPath) {
  const std::string shortPath = stackPath(path, quovaPath);
  // Paths sit at even positions; a title equal to a path must not be taken for one.
  for (std::size_t i = 0; i + 1 < stack.size(); i += 2) {
    if (equalNoCase(stack[i], shortPath)) {
      stack.erase(stack.begin() + static_cast<long>(i), stack.begin() + static_cast<long>(i) + 2);
      Log("\nClosing View for -- %s", shortPath.c_str());
      return true;
    }
  }
  Log("\nClosing View for -- %s", shortPath.c_str());
  return false;
}

}  // namespace quova
