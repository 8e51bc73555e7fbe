// The one instance of the run flags.
#include "base/run_flags.h"

namespace quova {

RunFlags& runFlags() {
  static RunFlags flags;
  return flags;
}

}  // namespace quova
