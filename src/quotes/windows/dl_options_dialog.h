// "QUOVA Quotelist Download Options": the 14 option switches of the download options file,
// captioned from the list's QCF.
#pragma once

#include "download/qcf.h"

class QWidget;

namespace quova {

// True on OK, with the check marks in options; Cancel leaves them as they were.
bool runDLOptionsDialog(QWidget* parent, const ListQcf& captions, DLOptions& options);

}  // namespace quova
