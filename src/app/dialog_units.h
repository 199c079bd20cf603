#pragma once

#include <QFont>
#include <QRect>

namespace zanli {

// Converts dialog-template units to pixels from a dialog font's metrics:
// a horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  // The 9-point Japanese UI font the editor's dialogs are laid out for.
  static QFont DialogFont();
  DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

  int X(int du) const;
  int Y(int du) const;
  QRect Rect(int x, int y, int width, int height) const;

 private:
  int baseX_;
  int baseY_;
};

}  // namespace zanli
