#pragma once

#include <QWidget>
#include <memory>

namespace zanli {

class PartBody;

// The symbol a pin-list paste would make, drawn as the part view draws it,
// at its natural size (put it in a scroll area).
class PinListPreview : public QWidget {
  Q_OBJECT

 public:
  explicit PinListPreview(QWidget* parent = nullptr);
  ~PinListPreview() override;

  // Shows this body (or nothing); the preview owns it.
  void SetBody(std::unique_ptr<PartBody> body);
  const PartBody* body() const { return body_.get(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::unique_ptr<PartBody> body_;
};

}  // namespace zanli
