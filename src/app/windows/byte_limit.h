// An edit validator that keeps a text within the bytes its settings field holds in UTF-8,
// so a text that fits the edit is never cut when the settings file is written.
#pragma once

#include <QValidator>

namespace quova {

class ByteLimitValidator : public QValidator {
 public:
  ByteLimitValidator(int maxBytes, QObject* parent) : QValidator(parent), max_(maxBytes) {}
  State validate(QString& text, int&) const override {
    return text.toUtf8().size() <= max_ ? Acceptable : Invalid;
  }

 private:
  int max_;
};

}  // namespace quova
