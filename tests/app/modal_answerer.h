#pragma once

// Answers a modal dialog that opens while the code under test runs its own
// event loop (message boxes, file dialogs).
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

namespace zanli::testing {

template <typename Dialog>
class ModalAnswerer {
 public:
  // `answer` runs once, on the first active modal widget of type Dialog.
  explicit ModalAnswerer(std::function<void(Dialog*)> answer) : answer_(std::move(answer)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* modal = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      if (modal == nullptr || done_) return;
      done_ = true;
      timer_.stop();
      answer_(modal);
    });
    timer_.start();
  }
  bool answered() const { return done_; }

 private:
  std::function<void(Dialog*)> answer_;
  QTimer timer_;
  bool done_ = false;
};

}  // namespace zanli::testing
