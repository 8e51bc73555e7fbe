// The one instance of the process-wide state.
#include "app/app_state.h"

namespace quova {

AppState& app() {
  static AppState state;
  return state;
}

}  // namespace quova
