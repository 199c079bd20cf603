#pragma once

// Answers a sequence of modal dialogs, one step per dialog as it comes up:
// a name dialog, the message box it raises, the name dialog again, ...
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <utility>

namespace zanli::testing {

class ModalScript {
 public:
  ModalScript() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
  }

  // The next step runs on the first active modal widget of type Dialog.
  template <typename Dialog>
  ModalScript& Then(std::function<void(Dialog*)> step) {
    steps_.push_back(Step{[](QWidget* modal) { return qobject_cast<Dialog*>(modal) != nullptr; },
                          [step](QWidget* modal) { step(qobject_cast<Dialog*>(modal)); }});
    return *this;
  }
  bool Done() const { return steps_.empty(); }

 private:
  struct Step {
    std::function<bool(QWidget*)> matches;
    std::function<void(QWidget*)> act;
  };

  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || steps_.empty() || !steps_.front().matches(modal)) return;
    // Acted on from the event loop, not from this timer: a step may open the
    // next dialog, whose own loop must see the timer fire again.
    auto act = std::move(steps_.front().act);
    steps_.pop_front();
    timer_.stop();
    QTimer::singleShot(0, [this, act, target = QPointer<QWidget>(modal)] {
      timer_.start();
      if (target) act(target);
    });
  }

  std::deque<Step> steps_;
  QTimer timer_;
};

}  // namespace zanli::testing
