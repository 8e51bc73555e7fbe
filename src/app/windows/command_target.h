// A document window that takes part in command routing: the active one is asked first.
#pragma once

namespace quova {

struct CommandTarget {
  virtual ~CommandTarget() = default;
  virtual bool handlesCommand(int id) const = 0;
  virtual void runCommand(int id) = 0;
};

}  // namespace quova
