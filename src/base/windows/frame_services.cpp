// The one installed frame.
#include "base/windows/frame_services.h"

namespace quova {

namespace {
FrameServices* installed = nullptr;
}

FrameServices* frameServices() { return installed; }
void setFrameServices(FrameServices* f) { installed = f; }

}  // namespace quova
