// The dialogs of a download, which the main frame shows for the sessions.
#pragma once

#include "base/page_link.h"

class QDialog;
class QWidget;

namespace quova {

// "Get Quote Page Dialog": the page's link in its download form or its browser form; the
// choice and the (possibly edited) text go into link.
void runPageLinkDialog(QWidget* parent, PageLink& link);

// "QUOVA Download Forced": a new dialog, not yet shown, owned by parent.
QDialog* forcedDialog(QWidget* parent);

}  // namespace quova
