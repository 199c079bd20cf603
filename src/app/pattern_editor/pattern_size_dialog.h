#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;

namespace zanli {

// Asks for a pattern's size in grid steps of 10 pixels. The fields show the
// size's steps; OK gives 10X + 1 by 10Y + 1 pixels, also when the numbers were
// left alone, so every pattern it touches fits the grid. A size of 0, a
// negative or non-numeric entry, an X above 20, or a bitmap of 4000 bytes or
// more is refused with a message and the dialog stays open.
class PatternSizeDialog : public QDialog {
  Q_OBJECT

 public:
  PatternSizeDialog(int32_t width, int32_t height, QWidget* parent = nullptr);

  // The accepted size in pixels.
  int32_t PatternWidth() const { return width_; }
  int32_t PatternHeight() const { return height_; }

 public slots:
  void accept() override;

 private:
  int32_t shownX_;
  int32_t shownY_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  QLineEdit* xField_ = nullptr;
  QLineEdit* yField_ = nullptr;
};

}  // namespace zanli
