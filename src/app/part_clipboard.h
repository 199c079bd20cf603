#pragma once

#include <QByteArray>
#include <string>

class QMimeData;

namespace zanli {

class PartBody;

// What Copy puts on the system clipboard for one part: the private data
// block other editors paste, and for the user's other programs the part as
// a text library of its own and as a picture of its symbol.
class PartClipboard {
 public:
  static QMimeData* MakeMimeData(const std::string& entryName, const PartBody& body);
  // Whether the private format is offered (Paste's enabling).
  static bool Offers(const QMimeData* data);
  // The private block as offered; empty when there is none.
  static QByteArray Block(const QMimeData* data);
};

}  // namespace zanli
