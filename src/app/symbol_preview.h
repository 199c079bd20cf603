#pragma once

#include <QImage>
#include <QWidget>

namespace zanli {

class PartBody;

// A part's symbol as the part view draws it (block 1, no cursor), whole in
// the widget: enlarged by whole steps while it fits, shrunk smoothly when it
// does not. For dialogs that show a part before it is in the library.
class SymbolPreview : public QWidget {
  Q_OBJECT

 public:
  explicit SymbolPreview(QWidget* parent = nullptr);

  // Shows the body, or nothing; the body must outlive the showing.
  void ShowBody(const PartBody* body);
  const PartBody* Body() const { return body_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const PartBody* body_ = nullptr;
  // The drawing at the largest zoom that fits, made when the body or the
  // size changes; null when the drawing is beyond the budget.
  QImage picture_;
  QSize pictureFor_;
};

}  // namespace zanli
