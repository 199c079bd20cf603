#include "fileio/safe_file_writer.h"

#include <gtest/gtest.h>

#include "binary_test_support.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;
using testing_support::Slurp;
using testing_support::Spit;
using testing_support::TempDir;

bool Save(const fs::path& path, const std::string& bytes, const std::string& backup = {}) {
  SafeFileWriter writer(path.string());
  return writer.Open() && writer.Write(bytes) && writer.Commit(backup);
}

TEST(SafeFileWriter, EveryInjectedFaultKeepsTheOldFileInPlace) {
  const std::string oldBytes = "old contents";
  const std::string newBytes(100, 'n');
  for (bool withBackup : {false, true}) {
    SCOPED_TRACE(withBackup);
    TempDir dir;
    const fs::path target = dir.path() / "F.LIB";
    const std::string backup = withBackup ? (dir.path() / "F.$ib").string() : std::string();
    SafeFileWriter::SetBufferSizeForTesting(16);
    int failures = 0;
    for (int k = 1; k < 1000; ++k) {
      Spit(target, oldBytes);
      SafeFileWriter::FailOperationForTesting(k);
      const bool saved = Save(target, newBytes, backup);
      const bool faultFired = SafeFileWriter::OperationsForTesting() >= k;
      SafeFileWriter::FailOperationForTesting(0);
      if (!faultFired) {
        EXPECT_TRUE(saved);
        break;
      }
      ++failures;
      EXPECT_FALSE(saved) << k;
      EXPECT_EQ(Slurp(target), oldBytes) << k;
      for (const std::string& name : dir.Names()) EXPECT_TRUE(name == "F.LIB" || name == "F.$ib") << name;
    }
    SafeFileWriter::SetBufferSizeForTesting(0);
    EXPECT_GT(failures, 7);  // create, seven writes, sync, close, rename at least
    EXPECT_EQ(Slurp(target), newBytes);
    if (withBackup) {
      EXPECT_EQ(Slurp(backup), oldBytes);
    }
  }
}

TEST(SafeFileWriter, SymlinkedTargetKeepsItsLinkAndBacksUpBesideIt) {
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

TEST(SafeFileWriter, NoPreviousFileRemovesAStaleBackupAndAMissingDirectoryFails) {
  TempDir dir;
  Spit(dir.path() / "N.$ib", "stale");
  ASSERT_TRUE(Save(dir.path() / "N.LIB", "first", (dir.path() / "N.$ib").string()));
  EXPECT_EQ(dir.Names(), std::vector<std::string>({"N.LIB"}));
  EXPECT_FALSE(Save(dir.path() / "none" / "N.LIB", "x"));
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
