#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

#include "doc_test_support.h"
#include "model/main_doc.h"

namespace tracemont {
namespace {

using namespace tracemont::testing;
namespace fs = std::filesystem;

// Files larger than `bytes` cannot be written while it lives (the writer
// sees EFBIG, as on a full disk).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int);
};

std::size_t EntriesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(DocumentFiles, SaveAndOpenKeepTheContentAndClearTheModifiedFlag) {
  ScratchDir dir;
  CMainDoc doc;
  doc.NewSeries({10, 10}, {}, source::kDropped, std::string("kept"), true);
  doc.NewSeries({10, 10}, {}, source::kDropped, std::string("empty"), false);
  ASSERT_TRUE(doc.IsModified());
  const FileResult saved = doc.Save(dir.Path("plot.tmr"));
  ASSERT_TRUE(saved.ok) << saved.message;
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.Series().size(), 1u);  // the empty series was purged first

  CMainDoc other;
  const FileResult opened = other.Open(dir.Path("plot.tmr"));
  ASSERT_TRUE(opened.ok) << opened.message;
  EXPECT_EQ(other.FileVersion(), 110);
  ASSERT_EQ(other.Series().size(), 1u);
  EXPECT_EQ(other.Series()[0]->name, "kept");
  EXPECT_FALSE(other.IsModified());
  EXPECT_EQ(EntriesIn(dir.Path("")), 1u);  // no temporary file left
}

TEST(DocumentFiles, AFailedOpenLeavesAnEmptyDocumentAndSaysWhy) {
  ScratchDir dir;
  WriteFileBytes(dir.Path("text.tmr"), {'h', 'e', 'l', 'l', 'o', '\n'});
  Bytes truncated = ToBytes(MakeRichDocument());
  truncated.resize(truncated.size() / 2);
  WriteFileBytes(dir.Path("half.tmr"), truncated);
  fs::create_directory(dir.Path("folder.tmr"));
  struct Case {
    std::string path;
    std::string message;
  };
  const Case cases[] = {
      {dir.Path("missing.tmr"), dir.Path("missing.tmr") + " was not found."},
      {dir.Path("text.tmr"), "Failed to open document."},
      {dir.Path("half.tmr"), "Unexpected file format."},
      {dir.Path("folder.tmr"), dir.Path("folder.tmr") + " contains an invalid path."},
  };
  for (const Case& c : cases) {
    CMainDoc doc;
    doc.NewSeries({10, 10}, {}, source::kDropped, std::string("old"), true);
    const FileResult r = doc.Open(c.path);
    EXPECT_FALSE(r.ok) << c.path;
    EXPECT_EQ(r.message, c.message);
    EXPECT_TRUE(doc.Series().empty()) << c.path;
    EXPECT_EQ(doc.Data().title, "Points (X,Y) distribution");
    EXPECT_FALSE(doc.CanUndo());
  }
}

TEST(DocumentFiles, ASaveThatFailsHalfWayKeepsThePreviousFile) {
  ScratchDir dir;
  const std::string path = dir.Path("plot.tmr");
  CMainDoc doc;
  doc.NewSeries({10, 10}, {}, source::kDropped, std::string("first"), true);
  ASSERT_TRUE(doc.Save(path).ok);
  const Bytes previous = ReadFileBytes(path);

  std::vector<DotValue> many(20000, DotValue(1, 2, 3));
  doc.NewSeriesFromValues(many, {}, source::kRead, std::string("big"));
  FileResult r;
  {
    FileSizeLimit limit(previous.size() * 2);
    r = doc.Save(path);
  }
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Destination disk drive is full.");
  EXPECT_EQ(ReadFileBytes(path), previous);
  EXPECT_EQ(EntriesIn(dir.Path("")), 1u);
  EXPECT_TRUE(doc.IsModified());
}

TEST(DocumentFiles, SavingKeepsPermissionsAndFollowsLinks) {
  ScratchDir dir;
  const std::string path = dir.Path("plot.tmr");
  CMainDoc doc;
  ASSERT_TRUE(doc.Save(path).ok);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  fs::create_symlink(path, dir.Path("link.tmr"));
  doc.NewSeries({10, 10}, {}, source::kDropped, std::string("later"), true);
  ASSERT_TRUE(doc.Save(dir.Path("link.tmr")).ok);
  EXPECT_TRUE(fs::is_symlink(dir.Path("link.tmr")));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  CMainDoc back;
  ASSERT_TRUE(back.Open(path).ok);
  EXPECT_EQ(back.Series().size(), 1u);
}

TEST(DocumentFiles, SavingIntoAMissingFolderSaysThePathIsInvalid) {
  ScratchDir dir;
  CMainDoc doc;
  const std::string path = dir.Path("no/such/plot.tmr");
  const FileResult r = doc.Save(path);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, path + " contains an invalid path.");
}

}  // namespace
}  // namespace tracemont
