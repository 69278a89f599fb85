#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <sys/stat.h>

#include "doc_test_support.h"
#include "model/main_doc.h"

namespace tracemont {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const CMainDoc& doc) {
  std::vector<std::string> names;
  for (const auto& s : doc.Series()) names.push_back(s->name);
  return names;
}

CPlotDot* Add(CMainDoc& doc, const std::string& name) {
  return doc.NewSeries({10, 10}, {}, source::kDropped, name, true);
}

TEST(UndoRedo, StepsBackAndForthThroughCreations) {
  CMainDoc doc;
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_FALSE(doc.Undo());
  Add(doc, "A");
  const std::uint32_t idOfB = Add(doc, "B")->id;

  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(Names(doc), std::vector<std::string>{"A"});
  EXPECT_TRUE(doc.CanRedo());
  ASSERT_TRUE(doc.Undo());
  EXPECT_TRUE(Names(doc).empty());
  EXPECT_FALSE(doc.CanUndo());

  ASSERT_TRUE(doc.Redo());
  ASSERT_TRUE(doc.Redo());
  EXPECT_EQ(Names(doc), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(doc.Series()[1]->id, idOfB);  // the same object, same id
  EXPECT_FALSE(doc.CanRedo());
  EXPECT_FALSE(doc.Redo());
  EXPECT_TRUE(doc.IsModified());
}

TEST(UndoRedo, AChangeAfterUndoingEmptiesTheRedoList) {
  CMainDoc doc;
  Add(doc, "A");
  Add(doc, "B");
  doc.Undo();
  doc.Undo();
  EXPECT_TRUE(doc.CanRedo());
  Add(doc, "C");
  EXPECT_FALSE(doc.CanRedo());
  EXPECT_FALSE(doc.Redo());
  ASSERT_TRUE(doc.Undo());
  EXPECT_TRUE(Names(doc).empty());
}

// What an undo must bring back: the objects with their ids, names and
// values, and the page. (Outlines are recomputed from the values.)
std::string Summary(const CMainDoc& doc) {
  std::string out = std::to_string(doc.Data().pageWidth) + "x" + std::to_string(doc.Data().pageHeight);
  const auto add = [&](const auto& list) {
    out += " |";
    for (const auto& o : list) {
      out += " " + std::to_string(o->id) + ":" + o->name + ":" + std::to_string(o->visible) + "[";
      for (const DotValue& v : o->Values())
        out += std::to_string(v.x) + "," + std::to_string(v.y) + "," + std::to_string(v.z) + ";";
      out += "]";
    }
  };
  add(doc.Series());
  add(doc.Areas());
  add(doc.Functions());
  add(doc.Commentaries());
  return out;
}

TEST(UndoRedo, EveryEditingOperationCanBeUndone) {
  struct Case {
    const char* name;
    std::function<void(CMainDoc&)> edit;
  };
  const Case cases[] = {
      {"clear all", [](CMainDoc& d) { d.ClearAll(); }},
      {"remove object", [](CMainDoc& d) { d.RemoveObject(d.Series()[0].get()); }},
      {"remove selected points",
       [](CMainDoc& d) {
         d.Series()[0]->SelectPoint(0);
         d.RemoveSelectedPoints();
       }},
      {"remove points in area", [](CMainDoc& d) { d.RemovePointsInArea(*d.Areas()[0], 0); }},
      {"fit to window", [](CMainDoc& d) { d.FitPageToWindow(100, 100, 96, 96); }},
      {"new area", [](CMainDoc& d) { d.NewAreaAt({1, 1}, cmd::kRedPoints, cmd::kRectArea)->SetCorner({90, 90}, true); }},
      {"new commentary", [](CMainDoc& d) { d.NewCommentary({1, 1}, 0)->SetText("x"); }},
  };
  for (const Case& c : cases) {
    CMainDoc doc;
    CPlotDot* s = Add(doc, "A");
    s->AddPoint({100, 10});
    CPlotClip* area = doc.NewAreaAt({0, -50}, cmd::kBluePoints, cmd::kRectArea);
    area->SetCorner({500, 50}, true);
    const std::string before = Summary(doc);
    c.edit(doc);
    const std::string after = Summary(doc);
    ASSERT_NE(after, before) << c.name;
    ASSERT_TRUE(doc.Undo()) << c.name;
    EXPECT_EQ(Summary(doc), before) << c.name;
    ASSERT_TRUE(doc.Redo()) << c.name;
    EXPECT_EQ(Summary(doc), after) << c.name;
  }
}

TEST(UndoRedo, SnapshotsLiveInAPrivateFolderThatGoesWithTheDocument) {
  std::string folder;
  {
    CMainDoc doc;
    EXPECT_TRUE(doc.History().Folder().empty());  // made on first use
    Add(doc, "A");
    Add(doc, "B");
    doc.Undo();
    folder = doc.History().Folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(fs::path(folder).parent_path(), fs::temp_directory_path());
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(fs::exists(fs::path(folder) / "u0.tmp"));
    EXPECT_TRUE(fs::exists(fs::path(folder) / "u1.tmp"));
    EXPECT_TRUE(fs::exists(fs::path(folder) / "r0.tmp"));
    CMainDoc other;
    Add(other, "C");
    EXPECT_NE(other.History().Folder(), folder);
  }
  EXPECT_FALSE(fs::exists(folder));
}

TEST(UndoRedo, ASnapshotThatCannotBeReadOrWrittenChangesNothing) {
  CMainDoc doc;
  Add(doc, "A");
  Add(doc, "B");
  const std::string folder = doc.History().Folder();
  fs::remove(fs::path(folder) / "u1.tmp");
  EXPECT_FALSE(doc.Undo());
  EXPECT_EQ(Names(doc), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(doc.History().UndoCount(), 2u);
  EXPECT_EQ(doc.History().RedoCount(), 0u);

  // Without its folder no snapshot can be written: the checkpoint fails, the
  // operation itself still happens.
  fs::remove_all(folder);
  EXPECT_FALSE(doc.Checkpoint());
  Add(doc, "C");
  EXPECT_EQ(doc.Series().size(), 3u);
  EXPECT_EQ(doc.History().UndoCount(), 2u);
}

}  // namespace
}  // namespace tracemont
