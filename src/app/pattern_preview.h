#pragma once

#include "app/scroll_view.h"
#include "app/test_access.h"

namespace zanli {

class Pattern;

// Shows one pattern at its true size, 20 pixels in from the top-left corner,
// with scroll bars when it is larger than the window. No grid, no zoom, no
// editing: the attribute dialog's view of the pattern it would give a part.
class PatternPreview : public ScrollView {
  Q_OBJECT

 public:
  explicit PatternPreview(QWidget* parent = nullptr);

  // Scrolls back to the origin and shows the pattern, or nothing.
  void ShowPattern(const Pattern* pattern);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  friend struct TestAccess<PatternPreview>;

  const Pattern* pattern_ = nullptr;
};

}  // namespace zanli
