#pragma once

#include <QString>

namespace zanli {

// The order of the editor's sorted lists (the pattern box, the in-use list):
// letters compare without regard to case, as users read a list, and texts
// that differ only in case keep a fixed order.
class TextOrder {
 public:
  static bool Less(const QString& a, const QString& b);
};

}  // namespace zanli
