// "QuoteList and Configuration Copy Control Dialog": a list and its QCF copied under a new
// base name.
#pragma once

#include <string>

class QWidget;

namespace quova {

// Runs the dialog for the list's source base name until it closes; closing is held while it
// is open.
void runCopyListDialog(QWidget* parent, const std::string& sourceBase);

}  // namespace quova
