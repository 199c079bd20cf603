// Two running editors on one X server pass parts through the system
// clipboard: a user's keys through XTest (xdotool), the clipboard as other X
// clients see it (xclip), and the libraries as they are saved.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "clipboard/part_clipboard_block.h"
#include "fileio/text_library_format.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

constexpr char kFormat[] = "Zanli Veld Library data";

// Runs a helper program to its end; its standard output, or a failure.
QByteArray RunProgram(const QString& program, const QStringList& args, const QByteArray& input = {}) {
  QProcess process;
  process.start(program, args);
  if (!input.isNull()) {
    process.write(input);
    process.closeWriteChannel();
  }
  if (!process.waitForFinished(15000)) {
    process.kill();
    ADD_FAILURE() << program.toStdString() << " " << args.join(' ').toStdString() << " did not finish";
    return {};
  }
  return process.readAllStandardOutput();
}

QString Xdotool(const QStringList& args) {
  return QString::fromUtf8(RunProgram(QStringLiteral("timeout"), QStringList{"10", "xdotool"} + args))
      .trimmed();
}

// An editor process with the library it opened.
class Editor {
 public:
  Editor(const QString& path, const QString& title) : title_(title) {
    process_.start(QStringLiteral(ZANLI_EDITOR), {path});
    window_ = Xdotool({"search", "--sync", "--onlyvisible", "--name", "^Zanli - " + title + "\\*?$"});
  }
  ~Editor() {
    process_.kill();
    process_.waitForFinished(5000);
  }
  bool Started() const { return !window_.isEmpty(); }
  // Types keys into this editor's window, as a user does.
  void Keys(const QStringList& keys) {
    Xdotool({"windowfocus", "--sync", window_});
    QTest::qWait(150);
    Xdotool(QStringList{"key", "--delay", "60"} + keys);
    QTest::qWait(250);
  }
  QString Caption() { return Xdotool({"getwindowname", window_}); }
  // Saves and waits until the caption has lost its modified mark.
  void Save() {
    Keys({"ctrl+s"});
    EXPECT_TRUE(QTest::qWaitFor([this] { return Caption() == "Zanli - " + title_; }, 10000))
        << Caption().toStdString();
  }

 private:
  QProcess process_;
  QString title_;
  QString window_;
};

// Answers the next message box with `keys`: it is a window captioned with the
// program's name alone.
void Answer(const QStringList& keys) {
  const QString box = Xdotool({"search", "--sync", "--onlyvisible", "--name", "^Zanli$"});
  ASSERT_FALSE(box.isEmpty()) << "no message box";
  Xdotool({"windowfocus", "--sync", box});
  QTest::qWait(150);
  Xdotool(QStringList{"key"} + keys);
  QTest::qWait(250);
}

std::unique_ptr<Library> ReadText(const QString& path) {
  auto library = std::make_unique<Library>();
  EXPECT_TRUE(TextLibraryFormat::Read(QFile::encodeName(path).toStdString(), *library));
  return library;
}

const PartEntry* Find(const Library& library, const std::string& name) {
  for (const auto& e : library.entries)
    if (e->name == name) return e.get();
  return nullptr;
}

class TwoEditorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp.isValid());
    // A: GATE drawn with TRI. B: HOST drawn with a TRI of other ink, and EQ,
    // which has the ink of A's TRI under another name.
    Library a;
    PartBody* gate = testing::AddPart(a, "GATE", 2, 2, 2);
    testing::AddPin(*gate, PinEdge::Left, 1, "\\E\\N", "", PinFlag::Clock, {"D1", "D7"});
    gate->pattern = testing::AddPattern(a, "TRI", 21, 21, 0x81);
    Library b;
    PartBody* host = testing::AddPart(b, "HOST");
    host->pattern = testing::AddPattern(b, "TRI", 21, 21, 0x3C);
    testing::AddPattern(b, "EQ", 21, 21, 0x81);
    aPath = temp.filePath(QStringLiteral("a.LB3"));
    bPath = temp.filePath(QStringLiteral("b.LB3"));
    ASSERT_TRUE(TextLibraryFormat::Write(QFile::encodeName(aPath).toStdString(), a));
    ASSERT_TRUE(TextLibraryFormat::Write(QFile::encodeName(bPath).toStdString(), b));
    // What the editor holds after reading the file, encoded independently.
    gateBlock = PartClipboardBlock::Build("GATE", *ReadText(aPath)->entries[0]->body);
  }

  QTemporaryDir temp;
  QString aPath, bPath;
  std::string gateBlock;
};

TEST_F(TwoEditorsTest, PartsGoAcrossInBothDirectionsWithThePatternQuestionAnsweredBothWays) {
  Editor a(aPath, QStringLiteral("a.LB3"));
  Editor b(bPath, QStringLiteral("b.LB3"));
  ASSERT_TRUE(a.Started() && b.Started());

  // Copy in A puts exactly the part's block on the X clipboard.
  a.Keys({"ctrl+c"});
  const QByteArray offered =
      RunProgram(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", kFormat, "-o"});
  EXPECT_EQ(offered.toStdString(), gateBlock);

  // B: the first paste shares EQ; the second is renamed (120), keeps its own
  // pattern (122 answered No) under a free name (121).
  b.Keys({"ctrl+v"});
  Answer({"alt+y"});
  b.Keys({"ctrl+v"});
  Answer({"Return"});
  Answer({"alt+n"});
  Answer({"Return"});
  b.Save();
  auto savedB = ReadText(bPath);
  const PartEntry* shared = Find(*savedB, "GATE");
  const PartEntry* copy = Find(*savedB, "NEWNAME0");
  ASSERT_TRUE(shared && copy);
  ASSERT_TRUE(shared->body->pattern && copy->body->pattern);
  EXPECT_EQ(shared->body->pattern->name, "EQ");
  EXPECT_EQ(copy->body->pattern->name, "NEW_0");
  EXPECT_EQ(savedB->patterns.size(), 3u);
  EXPECT_EQ(shared->body->pins[0]->numbers, (std::vector<std::string>{"D1", "D7"}));

  // B to A: HOST's TRI has other ink than A's TRI, so it comes under a new
  // name without a question (121 only).
  b.Keys({"Down", "Down", "ctrl+c"});
  a.Keys({"ctrl+v"});
  Answer({"Return"});
  a.Save();
  auto savedA = ReadText(aPath);
  const PartEntry* host = Find(*savedA, "HOST");
  ASSERT_TRUE(host && host->body->pattern);
  EXPECT_EQ(host->body->pattern->name, "NEW_0");
  EXPECT_EQ(host->body->pattern->bits[0], 0x3C);
}

TEST_F(TwoEditorsTest, AHostileBlockFromAnotherClientChangesNothing) {
  Editor a(aPath, QStringLiteral("a.LB3"));
  ASSERT_TRUE(a.Started());
  const QByteArray before = RunProgram(QStringLiteral("cat"), {aPath});
  std::string hostile = gateBlock;
  hostile[20] = '\x7f';  // a pin count far beyond the block
  // xclip keeps serving the selection in the background until it is taken.
  QProcess offer;
  offer.start(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", kFormat, "-i"});
  offer.write(QByteArray(hostile.data(), static_cast<qsizetype>(hostile.size())));
  offer.closeWriteChannel();
  offer.waitForFinished(3000);
  QTest::qWait(300);
  a.Keys({"ctrl+v"});
  Answer({"Return"});
  EXPECT_EQ(a.Caption(), QStringLiteral("Zanli - a.LB3")) << "nothing to save";
  a.Save();
  EXPECT_EQ(RunProgram(QStringLiteral("cat"), {aPath}), before);
}

}  // namespace
}  // namespace zanli
