// A document window that takes part in command routing: the active one is asked first.
#pragma once

#include <string>

class QWidget;

namespace quova {

struct CommandTarget {
  virtual ~CommandTarget() = default;
  virtual bool handlesCommand(int id) const = 0;
  virtual void runCommand(int id) = 0;
  // Add View: whether this window can open another window on its document, that window,
  // and the document's path.
  virtual bool canAddView() const { return false; }
  virtual QWidget* newViewOfDocument() { return nullptr; }
  virtual std::string documentPath() const { return {}; }
  // Asked before the program closes: a changed document may be saved; false refuses.
  virtual bool canCloseDocument() { return true; }
};

}  // namespace quova
