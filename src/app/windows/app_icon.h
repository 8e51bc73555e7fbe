// IDI_QUOVA: the program's icon, drawn once (a rising price line on a blue tile).
#pragma once

#include <QIcon>

namespace quova {

const QIcon& quovaIcon();

}  // namespace quova
