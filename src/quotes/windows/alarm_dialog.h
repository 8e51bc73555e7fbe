// "Download Alarms Setup Dialog": the alarm switch and limits of one quote request.
#pragma once

#include "quotes/alarms.h"

class QWidget;

namespace quova {

// True on OK, with the record filled from the dialog; Cancel leaves it as it was.
bool runAlarmDialog(QWidget* parent, AlarmRecord& rec);

}  // namespace quova
