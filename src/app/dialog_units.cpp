#include "app/dialog_units.h"

#include <QFontMetrics>

namespace zanli {

namespace {

// du * base / divisor, rounded half away from zero like the platform's MulDiv.
int Scale(int du, int base, int divisor) {
  const long long product = static_cast<long long>(du) * base;
  const long long half = divisor / 2;
  return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width of the 52 Latin letters, rounded to whole pixels.
  const int letters =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  baseX_ = (letters / 26 + 1) / 2;
  baseY_ = metrics.height();
  if (baseX_ < 1) baseX_ = 1;
  if (baseY_ < 1) baseY_ = 1;
}

QFont DialogUnits::DialogFont() {
  QFont font(QStringLiteral("Noto Sans CJK JP"), 9);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

int DialogUnits::X(int du) const { return Scale(du, baseX_, 4); }
int DialogUnits::Y(int du) const { return Scale(du, baseY_, 8); }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  // Convert the edges, not the extents, so neighbouring controls stay flush.
  const int left = X(x);
  const int top = Y(y);
  return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

}  // namespace zanli
