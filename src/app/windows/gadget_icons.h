// The control bar's button faces: one small pictogram per command, drawn in one style.
#pragma once

#include <QIcon>

namespace quova {

// The face of the control-bar button with this command id (an empty tile for an unknown id).
QIcon gadgetIcon(int id);

}  // namespace quova
