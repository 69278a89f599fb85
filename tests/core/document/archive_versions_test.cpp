// Files of older versions: each lacks the fields added after it, and the
// reader must take the defaults for them.
#include <gtest/gtest.h>

#include "doc_test_support.h"
#include "model/archive.h"
#include "model/document_file.h"

namespace tracemont {
namespace {

using namespace tracemont::testing;

// Writes a small document the way a given version laid it out: one series
// with a connecting line width of 3, axes with base 10 and an arrow, a
// three-colour palette, a visible legend, and a hidden series.
class LegacyWriter {
 public:
  explicit LegacyWriter(int version) : v_(version) {}

  Bytes Document() {
    b_.U16(0x0CD0).U16(static_cast<std::uint16_t>(v_ / 100)).U16(static_cast<std::uint16_t>(v_ % 100));
    b_.Str("12345678").I32(0).I32(1500).I32(1100).Str("old").Str("file");
    b_.Str("Arial").I32(400).U8(0).U8(0);
    for (int i = 0; i < 5; ++i) b_.U32(0);
    for (int i = 0; i < 5; ++i) b_.I32(30);
    for (int i = 0; i < 4; ++i) b_.U32(0).I32(5).I32(0);
    for (int kind = 0; kind < 4; ++kind) b_.I32(kind).F64(1.0).I32(kind == 1);
    Axis("X", 2);
    Axis("Y", 1);
    b_.U16(1).U16(0xFFFF).U16(0).U16(8).Raw("CPlotDot");
    Series();
    b_.U16(0).U16(0).U16(0);
    b_.I32(10).I32(1).I32(0).I32(0).I32(1).Str("pic.bmp");
    b_.I32(0);
    b_.I32(0).I32(0).I32(1).I32(0).I32(1);
    b_.F64(0.1).F64(0.1).F64(0.2).F64(0.2).I32(0).I32(0).I32(0).I32(0);
    b_.F64(100).F64(0).I32(0).U32(0x0000FF);
    if (v_ > 100) b_.U16(3).U32(0x0000FF).U32(0x00FF00).U32(0xFF0000);
    b_.F64(0.1).F64(0.13).I32(0).U32(0x505050);
    b_.I32(0).I32(0).I32(1).I32(0).I32(1).F64(1).F64(1).I32(0).I32(0).I32(1);
    if (v_ > 103) b_.I32(1).I32(1).I32(-1).I32(50).I32(-20);
    b_.U32(0);
    return b_.bytes;
  }

 private:
  void Scale(int type, double k, double b) {
    b_.I32(1).I32(type).F64(k).F64(b).F64(0).F64(10).I32(0).I32(0).F64(0).F64(0);
    if (v_ > 102) b_.F64(10.0);
  }
  void Axis(const std::string& name, int position) {
    b_.I32(position).I32(1).I32(1).Str(name).Str(name).Str("cm").Str("").F64(1).F64(1);
    Scale(1, 2.0, 3.0);
    if (v_ > 102) b_.I32(1);
  }
  void Series() {
    b_.U16(0).U16(10).F64(1).F64(0).F64(0).I32(1);
    if (v_ > 102) b_.I32(3);
    b_.U16(2).I32(1).I32(0).I32(0);
    Scale(0, 1, 0);
    Scale(0, 1, 0);
    b_.U16(1).I32(3).I32(0).F64(4).F64(5).F64(6);
    for (int i = 0; i < 7; ++i) b_.F64(0);
    b_.I32(0).I32(0);
    b_.U32(57).U16(3).Str("s").I32(0).I32(0).I32(0).I32(0).U16(1).I32(8).I32(0).I32(0);
    b_.U16(1).I32(157).I32(196);
    if (v_ >= 110) b_.I32(0);  // hidden
  }

  int v_;
  ByteBuilder b_;
};

TEST(ArchiveVersions, OlderFilesReadWithTheDefaultsOfTheFieldsTheyLack) {
  struct Case {
    int version;
    int connectWidth;
    double base;
    int arrow;
    int legendVisible;
    std::size_t paletteSize;
    int seriesVisible;
  };
  const Case cases[] = {
      {100, 1, 2.0, 0, 0, 1, 1},
      {102, 1, 2.0, 0, 0, 3, 1},
      {103, 3, 10.0, 1, 0, 3, 1},
      {104, 3, 10.0, 1, 1, 3, 1},
      {110, 3, 10.0, 1, 1, 3, 0},
  };
  for (const Case& c : cases) {
    DocumentData doc;
    const ReadOutcome read = FromBytes(LegacyWriter(c.version).Document(), doc);
    ASSERT_TRUE(read.report) << c.version << ": " << read.message;
    EXPECT_EQ(read.report->version, c.version);
    ASSERT_EQ(doc.series.size(), 1u) << c.version;
    const CPlotDot& s = *doc.series[0];
    EXPECT_EQ(s.connectWidth, c.connectWidth) << c.version;
    EXPECT_EQ(s.visible, c.seriesVisible) << c.version;
    EXPECT_EQ(s.Values()[0].y, 5.0) << c.version;
    EXPECT_EQ(s.xScale.base, c.base) << c.version;
    EXPECT_EQ(doc.axisX.scale.base, c.base) << c.version;
    EXPECT_EQ(doc.axisX.arrow, c.arrow) << c.version;
    EXPECT_EQ(doc.legend.visible, c.legendVisible) << c.version;
    const Rect legend = c.legendVisible ? Rect{1, -1, 50, -20} : Rect{100, -100, 200, -150};
    EXPECT_EQ(doc.legend.rect, legend) << c.version;
    EXPECT_EQ(doc.histo.density.colourScale.values.size(), c.paletteSize) << c.version;
    EXPECT_EQ(doc.histo.density.colourScale.values[0], 0xFF) << c.version;
    EXPECT_EQ(doc.editor.pictureFile, "pic.bmp") << c.version;

    // Written again, every file becomes version 1.10 and reads the same.
    DocumentData again;
    ASSERT_TRUE(FromBytes(ToBytes(doc), again).report) << c.version;
    EXPECT_EQ(again.series[0]->connectWidth, c.connectWidth);
    EXPECT_EQ(again.legend.rect, legend);
  }
}

TEST(ArchiveVersions, AFileWrittenByAnotherWriterReadsWithEveryDerivedValue) {
  DocumentData doc;
  const FileResult read = LoadDocumentFile(std::string(TM_TEST_DATA_DIR) + "/sample-v104.tmr", doc);
  ASSERT_TRUE(read.ok) << read.message;
  EXPECT_EQ(read.version, 104);
  EXPECT_EQ(doc.inches, 1);
  EXPECT_EQ(doc.title, "Образец");
  EXPECT_EQ(doc.visu.font.face, "Arial");
  EXPECT_EQ(doc.axisX.name, "Time");           // the second copy of the name
  EXPECT_EQ(doc.axisY.position, 0);            // 7 is no position
  EXPECT_EQ(doc.axisY.scale.b, 1.0);           // log start 0 takes k
  ASSERT_EQ(doc.series.size(), 2u);
  EXPECT_EQ(doc.series[0]->id, 57u);
  EXPECT_EQ(doc.series[0]->name, "Серия");
  EXPECT_EQ(doc.series[0]->ColourCommand(), cmd::kRedPoints);
  EXPECT_EQ(doc.series[0]->ShapeCommand(), cmd::kTrianglePoints);
  EXPECT_EQ(doc.series[1]->id, 12u);
  ASSERT_EQ(doc.areas.size(), 1u);
  EXPECT_EQ(doc.areas[0]->fill, 0);
  ASSERT_EQ(doc.functions.size(), 1u);
  EXPECT_EQ(doc.functions[0]->colour, 0x00FF00u);
  ASSERT_EQ(doc.commentaries.size(), 1u);
  EXPECT_EQ(doc.commentaries[0]->text, "Hello\r\nМир");
  EXPECT_EQ(doc.commentaries[0]->position, 3);
  EXPECT_EQ(doc.commentaries[0]->Lines(), (std::vector<std::string>{"Hello", "Мир"}));
  // Cells come from the quality, and diagram cells are clamped to 0.05..1 cm.
  EXPECT_DOUBLE_EQ(doc.histo.density.fine.width, 5 * 0.0254);
  EXPECT_EQ(doc.histo.diagram.cell.width, 1.0);
  EXPECT_EQ(doc.histo.diagram.cell.height, 0.05);
  EXPECT_EQ(doc.legend.rect, (Rect{10, -10, 300, -80}));
}

}  // namespace
}  // namespace tracemont
