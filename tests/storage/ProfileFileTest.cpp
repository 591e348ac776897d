#include "storage/ProfileFile.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <functional>

#include "common/Errors.h"
#include "support/TempDir.h"

namespace wyk {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(ProfileFile, ReadsEntriesWithDefaults) {
  TempDir dir;
  const std::string path = dir.File("a.osi");
  WriteFile(path, "[Parm]\r\nJednV=mV\r\nProb=0,5\r\nEmpty=\r\nQuoted=\"a b\"\r\n[Other]\r\nX=1");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"Parm", "JednV", "mV"},   {"PARM", "prob", "0,5"}, {"Parm", "Empty", ""},
      {"Parm", "Quoted", "a b"}, {"Other", "X", "1"},     {"Parm", "X", "def"},
      {"None", "JednV", "def"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadProfileString(path, c.section, c.key, "def"), c.expected) << c.key;
  EXPECT_EQ(ReadProfileString(dir.File("missing.osi"), "Parm", "JednV", "V"), "V");
}

TEST(ProfileFile, LongEntriesAreCutAt2047Characters) {
  TempDir dir;
  const std::string path = dir.File("a.INI");
  WriteFile(path, "[S]\nK=" + std::string(3000, '7') + "\n");
  EXPECT_EQ(ReadProfileString(path, "S", "K", ""), std::string(2047, '7'));
}

TEST(ProfileFile, WritesCreateFileSectionAndKey) {
  TempDir dir;
  const std::string path = dir.File("n.osi");
  WriteProfileString(path, "Parm", "Prob", "0,5");
  WriteProfileString(path, "Parm", "VD", "10");
  WriteProfileString(path, "parm", "prob", "1");
  WriteProfileString(path, "Next", "K", "v");
  EXPECT_EQ(ReadFile(path), "[Parm]\r\nprob=1\r\nVD=10\r\n[Next]\r\nK=v\r\n");
}

TEST(ProfileFile, AFinalLineWithoutEndingGetsOneBeforeNewLines) {
  TempDir dir;
  const std::string path = dir.File("n.INI");
  WriteFile(path, "[S]\nA=1");
  WriteProfileString(path, "S", "B", "2");
  EXPECT_EQ(ReadFile(path), "[S]\nA=1\r\nB=2\r\n");
}

}  // namespace
}  // namespace wyk

namespace wyk {
namespace {

// Rewriting goes through a neighbour file; what the user set up around the file stays.
#ifndef _WIN32  // symbolic links, permission bits, owners and fork with RLIMIT_FSIZE are POSIX
TEST(ProfileFile, RewritingKeepsPermissionsLinksAndLeavesNoNeighbour) {
  namespace fs = std::filesystem;
  TempDir dir;
  const std::string real = dir.File("real.INI");
  const std::string link = dir.File("link.INI");
  WriteFile(real, "[COM]\nCOM1=/dev/ttyUSB0\n");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(real, link);

  WriteProfileString(real, "COM", "Port", "2");
  WriteProfileString(link, "COM", "Typ", "1");

  EXPECT_EQ(ReadFile(real), "[COM]\nCOM1=/dev/ttyUSB0\nPort=2\r\nTyp=1\r\n");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  for (const auto& entry : fs::directory_iterator(dir.Path()))
    EXPECT_TRUE(entry.path().filename() == "real.INI" || entry.path().filename() == "link.INI")
        << entry.path();
}

TEST(ProfileFile, AnUnreadableFileIsNotOverwritten) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  namespace fs = std::filesystem;
  TempDir dir;
  const std::string path = dir.File("a.INI");
  WriteFile(path, "[COM]\nCOM1=/dev/ttyUSB0\n");
  fs::permissions(path, fs::perms::owner_write);
  EXPECT_THROW(WriteProfileString(path, "COM", "Port", "2"), AppError);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReadFile(path), "[COM]\nCOM1=/dev/ttyUSB0\n");
}

// Runs `write` in a child whose files may not grow past `limit` bytes, as on a full disk;
// true when the write raised its error there.
bool RaisedUnderSizeLimit(rlim_t limit, const std::function<void()>& write) {
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit size{limit, limit};
    setrlimit(RLIMIT_FSIZE, &size);
    try {
      write();
    } catch (const AppError&) {
      _exit(0);
    }
    _exit(1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ProfileFile, AWriteThatFailsPartWayLeavesEveryOldLine) {
  namespace fs = std::filesystem;
  const std::string old = "[COM]\r\nPort=1\r\nCOM1=/dev/ttyUSB0\r\n";
  for (const bool readOnlyFolder : {false, true}) {
    if (readOnlyFolder && geteuid() == 0) continue;  // root writes into read-only folders
    TempDir dir;
    const std::string path = dir.File("a.INI");
    WriteFile(path, old);
    if (readOnlyFolder) fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(RaisedUnderSizeLimit(old.size() + 4, [&] {
      WriteProfileString(path, "COM", "COM2", std::string(200, 'x'));
    })) << readOnlyFolder;
    EXPECT_EQ(ReadFile(path), old) << readOnlyFolder;
    // Where only the file itself can be written, a write that fits still goes through.
    WriteProfileString(path, "COM", "Port", "2");
    EXPECT_EQ(ReadProfileString(path, "COM", "Port", ""), "2");
    EXPECT_EQ(ReadProfileString(path, "COM", "COM1", ""), "/dev/ttyUSB0");
    fs::permissions(dir.Path(), fs::perms::owner_all);
  }
}

TEST(ProfileFile, AWriteProtectedFileIsRefusedAndKept) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes every file";
  namespace fs = std::filesystem;
  TempDir dir;
  const std::string path = dir.File("a.INI");
  WriteFile(path, "[COM]\nPort=1\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_THROW(WriteProfileString(path, "COM", "Port", "2"), AppError);
  EXPECT_EQ(ReadFile(path), "[COM]\nPort=1\n");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST(ProfileFile, RewritingAsRootKeepsTheUsersOwnership) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  TempDir dir;
  const std::string path = dir.File("a.INI");
  WriteFile(path, "[COM]\nPort=1\n");
  ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  WriteProfileString(path, "COM", "Port", "2");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadFile(path), "[COM]\nPort=2\n");
}
#endif

}  // namespace
}  // namespace wyk

namespace wyk {
namespace {

// Files from other editors: a UTF-8 byte-order mark and lone CR line ends.
TEST(ProfileFile, ByteOrderMarkAndLoneCarriageReturns) {
  struct Case {
    const char* name;
    std::string content;
    std::string afterWrite;  // after Port=2 is written
  };
  const Case cases[] = {
      {"bom", "\xEF\xBB\xBF[COM]\r\nPort=1\r\nCOM1=/dev/ttyUSB0\r\n",
       "\xEF\xBB\xBF[COM]\r\nPort=2\r\nCOM1=/dev/ttyUSB0\r\n"},
      {"cr", "[COM]\rPort=1\rCOM1=/dev/ttyUSB0\r", "[COM]\rPort=2\rCOM1=/dev/ttyUSB0\r"},
      {"bom and cr", "\xEF\xBB\xBF[COM]\rCOM1=/dev/ttyUSB0",
       "\xEF\xBB\xBF[COM]\rCOM1=/dev/ttyUSB0\r\nPort=2\r\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.File("a.INI");
    WriteFile(path, c.content);
    EXPECT_EQ(ReadProfileString(path, "COM", "COM1", "-"), "/dev/ttyUSB0") << c.name;
    WriteProfileString(path, "COM", "Port", "2");
    EXPECT_EQ(ReadFile(path), c.afterWrite) << c.name;
  }
}

}  // namespace
}  // namespace wyk
