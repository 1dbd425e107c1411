#pragma once

#include <QDialog>

namespace tarnwick::qt {

// The About box: the product's name, its version and what it does.
class AboutBox final : public QDialog {
 public:
  explicit AboutBox(QWidget* owner);
};

}  // namespace tarnwick::qt
