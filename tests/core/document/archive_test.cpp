#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "doc_test_support.h"
#include "formula/formula_function.h"
#include "model/archive.h"
#include "model/object_ids.h"

namespace tracemont {
namespace {

using namespace tracemont::testing;

Bytes Written(void (*write)(ArchiveWriter&, const std::string&), const std::string& arg) {
  MemorySink sink;
  ArchiveWriter w(sink);
  write(w, arg);
  return sink.Bytes();
}

TEST(ArchiveStrings, UseTheShortestLengthFormAndTheWideFormOnlyWhenNeeded) {
  struct Case {
    std::string text;
    Bytes prefix;
    std::size_t payload;  // bytes after the prefix
  };
  const Case cases[] = {
      {std::string(254, 'a'), {0xFE}, 254},
      {std::string(255, 'a'), {0xFF, 0xFF, 0x00}, 255},
      {std::string(65533, 'a'), {0xFF, 0xFD, 0xFF}, 65533},
      {std::string(65534, 'a'), {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}, 65534},
      {"Ёж", {0x02}, 2},
      {"日", {0xFF, 0xFE, 0xFF, 0x01}, 2},
  };
  for (const Case& c : cases) {
    const Bytes bytes = Written([](ArchiveWriter& w, const std::string& s) { w.String(s); }, c.text);
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.payload) << c.text.size();
    EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin())) << c.text.size();
    MemorySource source(bytes);
    ArchiveReader r(source);
    EXPECT_EQ(r.String(), c.text);
    EXPECT_EQ(r.Remaining(), 0u);
  }
  const Bytes cyrillic = Written([](ArchiveWriter& w, const std::string& s) { w.String(s); }, "Ёж");
  EXPECT_EQ(cyrillic, (Bytes{0x02, 0xA8, 0xE6}));
  const Bytes wide = Written([](ArchiveWriter& w, const std::string& s) { w.String(s); }, "日");
  EXPECT_EQ(wide, (Bytes{0xFF, 0xFE, 0xFF, 0x01, 0xE5, 0x65}));
}

TEST(ArchiveStrings, ReaderTakesALongWideLengthAndRefusesARepeatedMarker) {
  ByteBuilder longWide;
  longWide.U8(0xFF).U16(0xFFFE).U8(0xFF).U16(300);
  for (int i = 0; i < 300; ++i) longWide.U16(u'Ж');
  MemorySource source(longWide.bytes);
  ArchiveReader r(source);
  std::string expected;
  for (int i = 0; i < 300; ++i) expected += "Ж";
  EXPECT_EQ(r.String(), expected);

  ByteBuilder twice;
  twice.U8(0xFF).U16(0xFFFE).U8(0xFF).U16(0xFFFE).U8(1).U16(u'x');
  MemorySource again(twice.bytes);
  ArchiveReader r2(again);
  EXPECT_THROW(r2.String(), ArchiveError);
}

TEST(ArchiveCounts, SwitchToTheLongFormAt0xFFFF) {
  struct Case {
    std::uint64_t n;
    Bytes bytes;
  };
  const Case cases[] = {{0, {0, 0}},
                        {0xFFFE, {0xFE, 0xFF}},
                        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}},
                        {0x12345678, {0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}}};
  for (const Case& c : cases) {
    MemorySink sink;
    ArchiveWriter(sink).Count(c.n);
    EXPECT_EQ(sink.Bytes(), c.bytes) << c.n;
    MemorySource source(sink.Bytes());
    EXPECT_EQ(ArchiveReader(source).Count(), c.n);
  }
}

// The expected bytes of a new document, field by field with the defaults.
Bytes EmptyDocumentBytes() {
  ByteBuilder b;
  b.U16(0x0CD0).U16(1).U16(10).Str("Tracemnt").I32(0).I32(1500).I32(1100);
  b.Str("Points (X,Y) distribution").Str("Commentaries: ");
  // visual parameters
  b.Str("Times New Roman").I32(600).U8(0).U8(0);
  for (int i = 0; i < 5; ++i) b.U32(0);
  for (int size : {30, 60, 25, 30, 25}) b.I32(size);
  b.U32(0).I32(8).I32(0).U32(0x808080).I32(5).I32(0).U32(0).I32(5).I32(0).U32(0x808080).I32(0).I32(0);
  // indents
  for (int kind = 0; kind < 4; ++kind) b.I32(kind).F64(1.0).I32(kind == 1 ? 1 : 0);
  // axes
  for (int axis = 0; axis < 2; ++axis) {
    const std::string name = axis == 0 ? "Param X" : "Param Y";
    b.I32(axis == 0 ? 2 : 1).I32(1).I32(1).Str(name).Str(name).Str("cm");
    b.Str(axis == 0 ? "test Comments X" : "test Comments Y").F64(1.0).F64(1.0);
    b.I32(1).I32(0).F64(1.0).F64(0.0).F64(0.0).F64(1.0).I32(0).I32(0).F64(0).F64(0).F64(2.0);
    b.I32(0);  // arrow
  }
  // four empty lists
  b.U16(0).U16(0).U16(0).U16(0);
  // editor settings
  b.I32(10).I32(1).I32(0).I32(0).I32(1).Str("Demo.bmp");
  // distribution: mode, density, diagram
  b.I32(0);
  b.I32(0).I32(0).I32(1).I32(0).I32(1);
  b.F64(3 * 0.0254).F64(3 * 0.0254).F64(8 * 0.0254).F64(8 * 0.0254);
  b.I32(0).I32(0).I32(0).I32(0);
  b.F64(100.0).F64(0.0).I32(0).U32(0).U16(1).U32(0);
  b.F64(0.1).F64(0.13).I32(0).U32(0x505050);
  b.I32(0).I32(0).I32(1).I32(0).I32(1).F64(1.0).F64(1.0).I32(0).I32(0).I32(1);
  // legend and the count of contained items
  b.I32(0).I32(100).I32(-100).I32(200).I32(-150);
  b.U32(0);
  return b.bytes;
}

TEST(ArchiveDocument, ANewDocumentIsWrittenByteForByte) {
  EXPECT_EQ(ToBytes(DocumentData()), EmptyDocumentBytes());
}

TEST(ArchiveDocument, TwoSeriesAnnounceTheirClassOnceThenByIndex) {
  DocumentData none;
  DocumentData one;
  one.series.push_back(MakeSeries({{1, 1}}));
  DocumentData two;
  two.series.push_back(MakeSeries({{1, 1}}));
  two.series.push_back(MakeSeries({{2, 2}}));
  const Bytes b0 = ToBytes(none);
  const Bytes b1 = ToBytes(one);
  const Bytes b2 = ToBytes(two);

  const std::size_t list = FirstDifference(b0, b2);
  ASSERT_EQ(b2[list], 2);
  const Bytes announcement = ByteBuilder().U16(2).U16(0xFFFF).U16(0).U16(8).Raw("CPlotDot").bytes;
  EXPECT_TRUE(std::equal(announcement.begin(), announcement.end(), b2.begin() + list));
  // The one-series file continues with the area count where the second
  // series begins.
  const std::size_t second = FirstDifference(Bytes(b1.begin() + list + 2, b1.end()),
                                             Bytes(b2.begin() + list + 2, b2.end())) + list + 2;
  EXPECT_EQ(b2[second], 0x01);
  EXPECT_EQ(b2[second + 1], 0x80);
}

TEST(ArchiveDocument, ClassIndicesPast0x7FFFUseTheBigTag) {
  DocumentData doc;
  for (int i = 0; i < 0x7FFF; ++i) doc.series.push_back(MakeSeries({{i % 100, 0}}));
  doc.areas.push_back(MakeArea({{0, 0}, {0, 100}, {100, 100}, {100, 0}}));
  doc.areas.push_back(MakeArea({{0, 0}, {0, 50}, {50, 50}, {50, 0}}));
  const Bytes bytes = ToBytes(doc);
  // CPlotClip took index 0x8001: its second object is tagged 0x7FFF, 0x80008001.
  const Bytes bigTag{0xFF, 0x7F, 0x01, 0x80, 0x00, 0x80};
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), bigTag.begin(), bigTag.end()), bytes.end());
  DocumentData back;
  ASSERT_TRUE(FromBytes(bytes, back).report);
  EXPECT_EQ(back.series.size(), 0x7FFFu);
  ASSERT_EQ(back.areas.size(), 2u);
  EXPECT_EQ(back.areas[1]->Outline()[2], (Point{50, 50}));
}

TEST(ArchiveDocument, EveryFieldSurvivesARoundTrip) {
  const DocumentData doc = MakeRichDocument();
  const Bytes first = ToBytes(doc);
  DocumentData back;
  const ReadOutcome read = FromBytes(first, back);
  ASSERT_TRUE(read.report) << read.message;
  EXPECT_EQ(read.report->version, 110);
  EXPECT_TRUE(read.report->notes.empty());
  // Written again, the document gives the same bytes: nothing was lost.
  EXPECT_EQ(ToBytes(back), first);

  EXPECT_EQ(back.title, "Заголовок 日本");
  EXPECT_EQ(back.axisX.name, "Время");
  EXPECT_EQ(back.axisY.scale.base, 10.0);
  EXPECT_EQ(back.editor.pictureFile, "/pictures/фон.bmp");
  ASSERT_EQ(back.series.size(), 1u);
  const CPlotDot& s = *back.series[0];
  EXPECT_EQ(s.id, 101u);
  EXPECT_EQ(s.visible, 0);
  EXPECT_EQ(s.ColourCommand(), cmd::kRedPoints);
  EXPECT_EQ(s.ShapeCommand(), cmd::kTrianglePoints);
  EXPECT_EQ(s.connectWidth, 3);
  ASSERT_EQ(s.Values().size(), 4u);
  EXPECT_EQ(s.Values()[3].reserved[3], 42.0);
  EXPECT_EQ(s.Values()[3].flag, 1);
  const CPlotFunc& f = *back.functions[0];
  EXPECT_EQ(f.colour, Rgb(12, 34, 56));
  EXPECT_EQ(f.ColourCommand(), cmd::kGreenPoints);
  EXPECT_FALSE(f.curve.empty());  // sampled again
  const CPlotText& t = *back.commentaries[0];
  EXPECT_EQ(t.text, "Привет\r\n世界");
  EXPECT_EQ(t.reserved, 0xDEADBEEFu);
  EXPECT_EQ(t.Lines().size(), 2u);
  EXPECT_EQ(t.PointCount(), 10);
  EXPECT_GE(ObjectIds().Highest(), 104u);
}

TEST(ArchiveDocument, ObjectsTheDocumentWouldPurgeAreLeftOut) {
  DocumentData doc;
  doc.series.push_back(MakeSeries({}));
  auto hidden = MakeSeries({});
  hidden->visible = 0;
  doc.series.push_back(std::move(hidden));
  doc.areas.push_back(MakeArea({{0, 0}, {0, 10}, {10, 10}, {10, 0}}));  // below 4 x 6 units
  DocumentData back;
  ASSERT_TRUE(FromBytes(ToBytes(doc), back).report);
  ASSERT_EQ(back.series.size(), 1u);
  EXPECT_EQ(back.series[0]->visible, 0);
  EXPECT_TRUE(back.areas.empty());
}

// Bytes of a document in three parts: before the series list count, the
// four list counts, and after them.
struct Frame {
  Bytes head;
  Bytes tail;
  Bytes With(const Bytes& lists) const { return ByteBuilder().Append(head).Append(lists).Append(tail).bytes; }
};

Frame EmptyFrame() {
  const Bytes empty = ToBytes(DocumentData());
  DocumentData one;
  one.series.push_back(MakeSeries({{1, 1}}));
  const std::size_t list = FirstDifference(empty, ToBytes(one));
  return {Bytes(empty.begin(), empty.begin() + list), Bytes(empty.begin() + list + 8, empty.end())};
}

// A series element whose value count claims far more than any file holds.
Bytes HostileValueCount() {
  ByteBuilder b;
  b.U16(1).U16(0xFFFF).U16(0).U16(8).Raw("CPlotDot");
  b.U16(0).U16(10).F64(1).F64(0).F64(0).I32(0).I32(1);    // own fields
  b.U16(0).I32(0).I32(0).I32(0);                            // source, numbers, sort
  for (int scale = 0; scale < 2; ++scale)
    b.I32(1).I32(0).F64(1).F64(0).F64(0).F64(1).I32(0).I32(0).F64(0).F64(0).F64(2);
  b.U16(0xFFFF).U32(0xFFFFFFFF);
  return b.U16(0).U16(0).U16(0).bytes;
}

TEST(ArchiveReading, RefusesMalformedFilesWithTheRightMessage) {
  const Frame frame = EmptyFrame();
  const Bytes empty = frame.With(Bytes(8, 0));
  const Bytes lists3 = ByteBuilder().U16(0).U16(0).U16(0).bytes;
  DocumentData twoSeries;
  twoSeries.series.push_back(MakeSeries({{1, 1}}));
  twoSeries.series.push_back(MakeSeries({{2, 2}}));
  Bytes backReference = ToBytes(twoSeries);
  const Bytes secondTag{0x01, 0x80};
  const auto at = std::search(backReference.begin() + 10, backReference.end(), secondTag.begin(), secondTag.end());
  ASSERT_NE(at, backReference.end());
  at[0] = 0x02;  // object index 2: the first series again
  at[1] = 0x00;
  DocumentData oneArea;
  oneArea.areas.push_back(MakeArea({{0, 0}, {0, 100}, {100, 100}, {100, 0}}));
  const Bytes areaDoc = ToBytes(oneArea);
  // The area's element moved into the series list.
  const Bytes areaElement(areaDoc.begin() + frame.head.size() + 4, areaDoc.end() - frame.tail.size() - 4);
  Bytes badMagic = empty;
  badMagic[0] ^= 1;
  Bytes newer = empty;
  newer[2] = 2;
  Bytes minor11 = empty;
  minor11[4] = 11;
  Bytes hugeTitle = frame.head;
  hugeTitle.resize(4 + 2 + 9 + 12);  // header up to the title
  ByteBuilder title;
  title.Append(hugeTitle).U8(0xFF).U16(0xFFFF).U32(0x7FFFFFFF);

  struct Case {
    const char* name;
    Bytes bytes;
    const char* message;
  };
  const Case cases[] = {
      {"bad magic", badMagic, kMsgFailedToOpen},
      {"no bytes", {}, kMsgUnexpectedFormat},
      {"version 2.10", newer, kMsgUnexpectedFormat},
      {"version 1.11", minor11, kMsgUnexpectedFormat},
      {"unknown class", frame.With(ByteBuilder().U16(1).U16(0xFFFF).U16(0).U16(4).Raw("CFoo").Append(lists3).bytes),
       kMsgUnexpectedFormat},
      {"class index 0", frame.With(ByteBuilder().U16(1).U16(0x8000).Append(lists3).bytes), kMsgUnexpectedFormat},
      {"class index beyond the table", frame.With(ByteBuilder().U16(1).U16(0x8005).Append(lists3).bytes),
       kMsgUnexpectedFormat},
      {"object index not yet read", frame.With(ByteBuilder().U16(1).U16(0x0003).Append(lists3).bytes),
       kMsgUnexpectedFormat},
      {"reference to an object read before", backReference, kMsgUnexpectedFormat},
      {"area in the series list",
       frame.With(ByteBuilder().U16(1).Append(areaElement).Append(lists3).bytes), kMsgUnexpectedFormat},
      {"value count beyond the file", frame.With(HostileValueCount()), kMsgUnexpectedFormat},
      {"string length beyond the file", title.bytes, kMsgUnexpectedFormat},
  };
  for (const Case& c : cases) {
    DocumentData doc;
    const ReadOutcome read = FromBytes(c.bytes, doc);
    EXPECT_FALSE(read.report) << c.name;
    EXPECT_STREQ(read.message.c_str(), c.message) << c.name;
  }
}

TEST(ArchiveReading, OutlineAndValuesOfDifferentLengthsAreRefused) {
  const Frame frame = EmptyFrame();
  DocumentData one;
  one.series.push_back(MakeSeries({{7, 9}}));
  Bytes bytes = ToBytes(one);
  // The series ends with: outline count 1, the point (7, 9), visible 1.
  const std::size_t end = bytes.size() - frame.tail.size() - 6;
  const std::size_t count = end - 4 - 8 - 2;
  ASSERT_EQ(bytes[count], 1);
  ASSERT_EQ(bytes[count + 2], 7);
  bytes[count] = 0;
  bytes.erase(bytes.begin() + static_cast<long>(count) + 2, bytes.begin() + static_cast<long>(count) + 10);
  DocumentData doc;
  EXPECT_EQ(FromBytes(bytes, doc).message, kMsgUnexpectedFormat);
}

std::unique_ptr<CPlotFunc> FunctionOf(const FuncParams& params) {
  auto f = std::make_unique<CPlotFunc>(cmd::kRedPoints, 0);
  f->params = params;
  f->SetRange({DotValue(0, 0), DotValue(0, 1), DotValue(1, 1), DotValue(1, 0)});
  return f;
}

TEST(ArchiveReading, FunctionCurvesStayWithinAFewRecordsPerStoredByte) {
  // 60,000 straight sections: two samples each instead of a hundred.
  FuncParams sections{40, 0, 240000, 0, 0, 1, 1, 0, 0, 0};
  for (int i = 0; i < 60000; ++i) sections.insert(sections.end(), {i * 1.0, 0, i + 0.5, 1});
  sections.push_back(0);
  DocumentData many;
  many.functions.push_back(FunctionOf(sections));
  DocumentData back;
  ASSERT_TRUE(FromBytes(ToBytes(many), back).report);
  EXPECT_EQ(back.functions[0]->curve.size(), 120000u);

  // A family of a thousand curves takes 101,000 records from a few hundred
  // bytes: a small file of many of them is refused.
  FormulaCurve family;
  family.useV = true;
  family.vMax = 999;
  family.vStep = 1;
  const FuncParams familyParams = BuildFormulaParams(family);
  DocumentData one;
  one.functions.push_back(FunctionOf(familyParams));
  DocumentData single;
  ASSERT_TRUE(FromBytes(ToBytes(one), single).report);
  EXPECT_EQ(single.functions[0]->curve.size(), 101000u);
  DocumentData bomb;
  for (int i = 0; i < 10; ++i) bomb.functions.push_back(FunctionOf(familyParams));
  DocumentData refused;
  EXPECT_EQ(FromBytes(ToBytes(bomb), refused).message, kMsgUnexpectedFormat);
}

TEST(ArchiveReading, EveryTruncationIsAFormatError) {
  const Bytes bytes = ToBytes(MakeRichDocument());
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    DocumentData doc;
    const ReadOutcome read = FromBytes(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(length)), doc);
    ASSERT_FALSE(read.report) << length;
    ASSERT_EQ(read.message, kMsgUnexpectedFormat) << length;
  }
}

TEST(ArchiveReading, ContainedItemsAtTheEndAreIgnoredWithANote) {
  Bytes bytes = ToBytes(MakeRichDocument());
  bytes[bytes.size() - 4] = 3;
  bytes.insert(bytes.end(), {1, 2, 3, 4, 5});  // whatever the items were
  DocumentData doc;
  const ReadOutcome read = FromBytes(bytes, doc);
  ASSERT_TRUE(read.report) << read.message;
  ASSERT_EQ(read.report->notes.size(), 1u);
  EXPECT_NE(read.report->notes[0].find("3 contained items"), std::string::npos);
  EXPECT_EQ(doc.series.size(), 1u);
}

}  // namespace
}  // namespace tracemont
