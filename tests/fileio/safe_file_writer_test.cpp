#include "fileio/safe_file_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <set>

#include "binary_test_support.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;
using testing::RunInChild;
using testing::Slurp;
using testing::Spit;
using testing::TempDir;

bool Save(const fs::path& path, const std::string& bytes, const std::string& backup = {}) {
  SafeFileWriter writer(path.string());
  return writer.Open() && writer.Write(bytes) && writer.Commit(backup);
}

// Both ways of making the temporary file: unnamed where the file system
// allows, named otherwise.
class SafeFileWriterTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { SafeFileWriter::AllowUnnamedTemporaryForTesting(GetParam()); }
  void TearDown() override {
    SafeFileWriter::AllowUnnamedTemporaryForTesting(true);
    SafeFileWriter::FailOperationForTesting(0);
    SafeFileWriter::SetBufferSizeForTesting(0);
  }
};

INSTANTIATE_TEST_SUITE_P(Temporary, SafeFileWriterTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

// An I/O error at each file-system call of a save, stat included: the target
// is the old file or the new one, never anything else; the backup is the
// older one or the file being replaced, never lost; nothing else is left.
TEST_P(SafeFileWriterTest, EveryInjectedFaultKeepsTheOldFileAndTheBackupRule) {
  const std::string older = "older", old = "old contents", fresh(100, 'n');
  for (const bool targetExists : {true, false}) {
    SCOPED_TRACE(targetExists);
    TempDir dir;
    const fs::path target = dir.path() / "F.LIB";
    const std::string backup = (dir.path() / "F.$ib").string();
    SafeFileWriter::SetBufferSizeForTesting(16);
    int failures = 0;
    for (int k = 1; k < 1000; ++k) {
      fs::remove(target);
      if (targetExists) Spit(target, old);
      Spit(backup, older);
      SafeFileWriter::FailOperationForTesting(k);
      const bool saved = Save(target, fresh, backup);
      const bool faultFired = SafeFileWriter::OperationsForTesting() >= k;
      SafeFileWriter::FailOperationForTesting(0);
      const std::string before = targetExists ? old : "<missing>";
      if (!faultFired) {
        EXPECT_TRUE(saved);
        EXPECT_EQ(Slurp(target), fresh);
        EXPECT_EQ(Slurp(backup), targetExists ? old : "<missing>");
        break;
      }
      ++failures;
      if (saved) {
        // Only a failed removal of a stale backup is no reason to stop.
        EXPECT_FALSE(targetExists) << k;
        EXPECT_EQ(Slurp(target), fresh) << k;
        EXPECT_EQ(Slurp(backup), older) << k;
      } else {
        EXPECT_EQ(Slurp(target), before) << k;
        const std::string kept = Slurp(backup);
        EXPECT_TRUE(kept == older || (targetExists && kept == old)) << k << ": " << kept;
      }
      for (const std::string& name : dir.Names()) EXPECT_TRUE(name == "F.LIB" || name == "F.$ib") << name;
    }
    EXPECT_GT(failures, 9);  // stat, create, seven writes, sync, close, rename at least
  }
}

// A kill at each file-system call of a save: the target is whole (old or
// new), and whatever a kill leaves beside it goes at the next save. With
// unnamed temporary files only the calls between naming a file and renaming
// it can leave one: the backup's rename, and the new file's close and rename.
TEST_P(SafeFileWriterTest, AKillAtAnyPointLeavesNothingAfterTheNextSave) {
  TempDir dir;
  const fs::path target = dir.path() / "K.LIB";
  const std::string backup = (dir.path() / "K.$ib").string();
  const std::string old = "old", fresh(5000, 'n');
  int kills = 0, leftSomething = 0;
  for (int k = 1; k < 1000; ++k) {
    Spit(target, old);
    Spit(backup, "older");
    const int code = RunInChild([&] {
      SafeFileWriter::SetBufferSizeForTesting(1024);
      SafeFileWriter::CrashAtOperationForTesting(k);
      return Save(target, fresh, backup) ? 0 : 1;
    });
    if (code == 0) break;
    ASSERT_EQ(code, SafeFileWriter::kCrashExitCode) << k;
    ++kills;
    const std::string now = Slurp(target);
    EXPECT_TRUE(now == old || now == fresh) << k;
    if (dir.Names().size() > 2) ++leftSomething;
    ASSERT_TRUE(Save(target, "next", backup)) << k;
    EXPECT_EQ(dir.Names(), std::vector<std::string>({"K.$ib", "K.LIB"})) << k;
  }
  EXPECT_GT(kills, 8);
  if (GetParam()) {
    EXPECT_LE(leftSomething, 3);
  }
}

// A save that fails after keeping the backup leaves the backup a second name
// of the target; the next save must neither be fooled by that nor leave its
// own backup's temporary name behind.
TEST_P(SafeFileWriterTest, ASaveAfterOneThatFailedPastTheBackupLeavesNothingBehind) {
  TempDir dir;
  const fs::path target = dir.path() / "B.LIB";
  const std::string backup = (dir.path() / "B.$ib").string();
  Spit(target, "old");
  SafeFileWriter::FailOperationForTesting(0);
  ASSERT_TRUE(Save(target, "probe", backup));
  const int operations = SafeFileWriter::OperationsForTesting();
  Spit(target, "old");
  for (int attempt = 0; attempt < 2; ++attempt) {
    SafeFileWriter::FailOperationForTesting(operations);  // the final rename
    ASSERT_FALSE(Save(target, "lost", backup));
    EXPECT_EQ(fs::hard_link_count(target), 2u);
    EXPECT_EQ(dir.Names(), std::vector<std::string>({"B.$ib", "B.LIB"}));
  }
  SafeFileWriter::FailOperationForTesting(0);
  ASSERT_TRUE(Save(target, "new", backup));
  EXPECT_EQ(Slurp(target), "new");
  EXPECT_EQ(Slurp(backup), "old");
  EXPECT_EQ(dir.Names(), std::vector<std::string>({"B.$ib", "B.LIB"}));
}

TEST_P(SafeFileWriterTest, OddTargetsAreRefusedAndLeftAsTheyWere) {
  using Failure = SafeFileWriter::Failure;
  const struct {
    const char* name;
    std::function<bool(const fs::path&)> make;  // false: cannot be made here
    Failure failure;
  } cases[] = {
      {"fifo", [](const fs::path& p) { return ::mkfifo(p.c_str(), 0644) == 0; }, Failure::NotRegularFile},
      {"device", [](const fs::path& p) { return ::mknod(p.c_str(), S_IFCHR | 0644, ::makedev(1, 3)) == 0; },
       Failure::NotRegularFile},
      {"folder", [](const fs::path& p) { return fs::create_directory(p); }, Failure::NotRegularFile},
      {"loop",
       [](const fs::path& p) {
         fs::create_symlink(p.string() + ".other", p);
         fs::create_symlink(p, p.string() + ".other");
         return true;
       },
       Failure::SymlinkLoop},
      {"read-only",
       [](const fs::path& p) {
         Spit(p, "mine");
         fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
         return true;
       },
       Failure::ReadOnly},
      {"link to read-only",
       [](const fs::path& p) {
         Spit(p.string() + ".real", "mine");
         fs::permissions(p.string() + ".real", fs::perms::owner_read);
         fs::create_symlink(p.string() + ".real", p);
         return true;
       },
       Failure::ReadOnly},
      {"unwritable folder",
       [](const fs::path& p) {
         // The superuser writes anywhere, so only others can try this.
         if (::geteuid() == 0) return false;
         fs::create_directory(p.parent_path() / "locked");
         fs::permissions(p.parent_path() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
         return true;
       },
       Failure::FolderNotWritable},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    fs::path target = dir.path() / "T.LIB";
    if (!c.make(target)) continue;
    if (c.failure == Failure::FolderNotWritable) target = dir.path() / "locked" / "T.LIB";
    const auto before = dir.Names();
    struct stat was {};
    ::lstat(target.c_str(), &was);
    SafeFileWriter writer(target.string());
    const bool refused = !writer.Open();
    EXPECT_TRUE(refused);
    EXPECT_EQ(writer.GetFailure(), c.failure);
    EXPECT_FALSE(writer.Write("new") || writer.Commit((dir.path() / "T.$ib").string()));
    struct stat now {};
    ::lstat(target.c_str(), &now);
    EXPECT_EQ(now.st_mode, was.st_mode);
    EXPECT_EQ(now.st_ino, was.st_ino);
    EXPECT_EQ(dir.Names(), before);
    if (S_ISREG(was.st_mode)) {
      EXPECT_EQ(Slurp(target), "mine");
    }
  }
}

TEST_P(SafeFileWriterTest, SymlinkedTargetKeepsItsLinkAndBacksUpBesideIt) {
  TempDir dir;
  fs::create_directory(dir.path() / "real");
  const fs::path real = dir.path() / "real" / "R.LIB";
  const fs::path link = dir.path() / "L.LIB";
  Spit(real, "old");
  fs::create_symlink(real, link);
  ASSERT_TRUE(Save(link, "new", (dir.path() / "L.$ib").string()));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Slurp(real), "new");
  EXPECT_EQ(Slurp(dir.path() / "L.$ib"), "old");
  EXPECT_EQ(dir.Names(), std::vector<std::string>({"L.$ib", "L.LIB", "real"}));
}

TEST_P(SafeFileWriterTest, AnyNameAFileCanHaveCanBeSavedAndOldDebrisGoes) {
  TempDir dir;
  const std::string name(251, 'n');
  const fs::path target = dir.path() / (name + ".LIB");
  const std::string backup = (dir.path() / (name + ".$ib")).string();
  // What earlier versions left after a kill.
  Spit(dir.path() / "S.LIB.zanli-0123abcd.tmp", "debris");
  Spit(dir.path() / "S.$ib.zanli-tmp", "debris");
  Spit(dir.path() / "S.LIB.zanli-0123abcd.tmp.keep", "not ours");
  ASSERT_TRUE(Save(target, "first", backup));
  ASSERT_TRUE(Save(target, "second", backup));
  ASSERT_TRUE(Save(dir.path() / "S.LIB", "s", (dir.path() / "S.$ib").string()));
  EXPECT_EQ(Slurp(target), "second");
  EXPECT_EQ(Slurp(backup), "first");
  EXPECT_EQ(dir.Names(), std::vector<std::string>(
                             {"S.LIB", "S.LIB.zanli-0123abcd.tmp.keep", name + ".$ib", name + ".LIB"}));
}

// Another process saving the same target at the same moment: its tidying
// up leaves alone the temporary this save still owns (and its backup's),
// which a crashed save's would not be. Both saves succeed whole.
TEST_P(SafeFileWriterTest, ASaveBesideAnotherRunningOneLeavesItsTemporaryAlone) {
  TempDir dir;
  const fs::path target = dir.path() / "C.LIB";
  const std::string backup = (dir.path() / "C.$ib").string();
  Spit(target, "old");
  int toChild[2], toParent[2];
  ASSERT_EQ(::pipe(toChild), 0);
  ASSERT_EQ(::pipe(toParent), 0);
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    // Its temporary needs a name to be at risk.
    SafeFileWriter::AllowUnnamedTemporaryForTesting(false);
    SafeFileWriter writer(target.string());
    const bool opened = writer.Open() && writer.Write(std::string("child"));
    char go = 0;
    if (::write(toParent[1], "r", 1) != 1 || ::read(toChild[0], &go, 1) != 1) ::_exit(3);
    ::_exit(opened && writer.Commit(backup) ? 0 : 1);
  }
  char ready = 0;
  ASSERT_EQ(::read(toParent[0], &ready, 1), 1);
  EXPECT_EQ(dir.Names().size(), 2u);  // the target and the child's temporary
  EXPECT_TRUE(Save(target, "parent", backup));
  EXPECT_EQ(dir.Names().size(), 3u);  // and now the backup
  ASSERT_EQ(::write(toChild[1], "g", 1), 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(Slurp(target), "child");
  EXPECT_EQ(Slurp(backup), "parent");
  EXPECT_EQ(dir.Names(), std::vector<std::string>({"C.$ib", "C.LIB"}));
  for (const int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) ::close(fd);
}

TEST(SafeFileWriter, NoPreviousFileRemovesAStaleBackupAndAMissingDirectoryFails) {
  TempDir dir;
  Spit(dir.path() / "N.$ib", "stale");
  ASSERT_TRUE(Save(dir.path() / "N.LIB", "first", (dir.path() / "N.$ib").string()));
  EXPECT_EQ(dir.Names(), std::vector<std::string>({"N.LIB"}));
  SafeFileWriter writer((dir.path() / "none" / "N.LIB").string());
  EXPECT_FALSE(writer.Open());
  EXPECT_EQ(writer.GetFailure(), SafeFileWriter::Failure::WriteFailed);
  EXPECT_EQ(writer.Error(), ENOENT);
}

TEST(SafeFileWriter, ReplacedFileKeepsItsPermissions) {
  TempDir dir;
  const fs::path target = dir.path() / "P.LIB";
  Spit(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(Save(target, "new"));
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace zanli
