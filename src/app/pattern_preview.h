#pragma once

#include <QAbstractScrollArea>

namespace zanli {

class Pattern;

// Shows one pattern at its true size, 20 pixels in from the top-left corner,
// with scroll bars when it is larger than the window. No grid, no zoom, no
// editing: the attribute dialog's view of the pattern it would give a part.
class PatternPreview : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit PatternPreview(QWidget* parent = nullptr);

  // Scrolls back to the origin and shows the pattern, or nothing.
  void ShowPattern(const Pattern* pattern);
  const Pattern* ShownPattern() const { return pattern_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateScrollBars();
  void OnScrollAction(int action, bool horizontal);

  const Pattern* pattern_ = nullptr;
};

}  // namespace zanli
