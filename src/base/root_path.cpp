// The program's root is QUOVA when set (ending in "/"), else the working directory.
#include "base/root_path.h"

#include "base/run_flags.h"

namespace quova {

std::string rootPath(std::string_view relative) { return runFlags().QUOVAPATH + std::string(relative); }

}  // namespace quova
