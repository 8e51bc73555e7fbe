// "Add a Quote Request to Quotelist": symbol, file name and company name of a new request.
#pragma once

#include <string>

class QWidget;

namespace quova {

// The new request line on OK (the three fields joined by three blanks), empty on Cancel.
std::string runAddRequestDialog(QWidget* parent);

}  // namespace quova
