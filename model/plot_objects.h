// Plot objects: everything a user puts on a plot.
//
//   CPlot            base: outline in plot units, bounds, flags
//   └ CPlotVal       + a DotValue record per outline point and its own axis scales
//     ├ CPlotDot     points series
//     ├ CPlotClip    area (rectangle or free polygon)
//     │ └ CPlotFunc  function curve over a range rectangle
//     └ CPlotText    commentary (its own header)
//
// Geometry is integer plot units (0.01 inch, y up); values are recomputed from
// the outline (or the outline from the values) only when points or scales
// change. Operations report failure by their result and leave the object
// unchanged; none of them asserts on user data.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "approx/approx.h"
#include "approx/func_params.h"
#include "model/axes.h"
#include "model/colours.h"
#include "model/dot_value.h"
#include "model/geometry.h"
#include "render/surface.h"

namespace tracemont {

// Half side of a vertex handle, plot units.
constexpr int kHandleSize = 5;

// Series source kinds.
namespace source {
constexpr int kDropped = 0;
constexpr int kOnLines = 1;
constexpr int kRead = 2;
constexpr int kDigitized = 3;
constexpr int kAutomation = 4;
constexpr int kTransformed = 5;
}  // namespace source

// "(%H:%M:%S %d.%b.%y)" with English month abbreviations whatever the locale.
std::string TimeStampName(const std::tm& local);
// The time stamp of the current local time.
std::string TimeStampNow();

// What a paint pass tells each object.
struct DrawContext {
  bool filled = true;  // areas: fill when their own fill flag is set too
  bool marks = false;  // areas: vertex handles
  Rect page{-1000000000, 1000000000, 1000000000, -1000000000};  // only points inside are drawn
  bool smoothLines = false;  // function curves may be anti-aliased
};

class CPlot {
 public:
  explicit CPlot(int colourCommand);
  virtual ~CPlot() = default;
  CPlot(const CPlot&) = default;
  CPlot& operator=(const CPlot&) = default;

  // Run-time class name, as stored in documents ("CPlotDot", ...).
  virtual const char* ClassName() const { return "CPlot"; }

  // --- fields --------------------------------------------------------------
  std::uint32_t id = 0;
  std::string name;
  std::int32_t visible = 1;
  std::int32_t step = 8;        // plot units
  std::int32_t lineWidth = 1;   // plot units
  std::int32_t shadow = 1;      // commentaries only
  std::int32_t frameWidth = 6;  // plot units
  Point position;
  std::int32_t inProgress = 1;
  std::int32_t selected = 0;
  std::int32_t spacingCheck = 1;
  std::int32_t clampToPage = 1;

  int ColourCommand() const { return colourCommand_; }
  int ColourIndex() const { return colourIndex_; }
  // Sets the colour command and its file index together.
  virtual void SetColourCommand(int command);
  Colour LineColour() const { return LineColourOfCommand(colourCommand_); }
  Colour FillColour() const { return FillColourOfCommand(colourCommand_); }

  const std::vector<Point>& Outline() const { return outline_; }
  int PointCount() const { return static_cast<int>(outline_.size()); }
  const std::vector<std::uint32_t>& Selection() const { return selection_; }
  const Rect& Bounds() const { return bounds_; }

  // --- virtual operations ---------------------------------------------------
  virtual bool IsComplete() const { return true; }
  virtual std::string GetName() const { return name; }
  // Bounds of all outline points (empty rectangle for no points).
  virtual void CalcBounds();
  virtual void CopyStyle(const CPlot& /*other*/) {}
  // Ends the drawing state; bounds recomputed and widened for the pen and frame.
  virtual void FinishEdit();
  // Moves the object so that its reference position becomes p; returns
  // whether it moved.
  virtual bool MoveTo(Point p);
  // Appends p to the outline; returns false when the point is refused.
  // `surface`, when given, receives the new last segment.
  virtual bool AddPoint(Point p, bool finish = false, Surface* surface = nullptr);
  // Removes outline point i (and drops it from the selection); false when i
  // is out of range.
  virtual bool RemovePoint(int i);
  // Adds (dx, dy) to outline point i. Returns the rectangle to repaint, or
  // nothing when i is out of range.
  virtual std::optional<Rect> MovePoint(int i, int dx, int dy);
  virtual bool HitTest(Point /*p*/) const { return false; }
  // Paints the object; returns false when there is nothing to paint.
  virtual bool Draw(Surface& surface, const DrawContext& context);
  // The line between the last two outline points, in the line colour.
  virtual void DrawLastSegment(Surface& surface);
  virtual void Offset(int dx, int dy);
  virtual void OffsetSelected(int dx, int dy);
  // The name, left-aligned 4 units inside `box` and centred vertically (or,
  // with textHeight > 0, at the vertical centre offset by the text height).
  virtual void DrawLabel(Surface& surface, const Rect& box, int textHeight = 0);
  // Widens freshly computed bounds for what is drawn round the points (pen,
  // frame, markers); used by FinishEdit and after outline recomputation.
  virtual void WidenBounds();

  // --- selection of points --------------------------------------------------
  void ClearSelection() { selection_.clear(); }
  void SelectPoint(std::uint32_t index) { selection_.push_back(index); }

 protected:
  // Appends without any rule (the base of every AddPoint).
  void AppendOutlinePoint(Point p);
  // Shifts every listed outline point (all when `indices` is null) without
  // the vertex rules of MovePoint; PointsMoved() then follows.
  void ShiftPoints(int dx, int dy, const std::vector<std::uint32_t>* indices);
  // Called after points moved by Offset/OffsetSelected.
  virtual void PointsMoved() {}
  // Keeps the selection pointing at the same points after point i was removed.
  void DropFromSelection(std::uint32_t removed);
  std::vector<Point> outline_;
  std::vector<std::uint32_t> selection_;
  Rect bounds_;

 private:
  int colourCommand_;
  int colourIndex_;
};

class CPlotClip;

class CPlotVal : public CPlot {
 public:
  CPlotVal(int colourCommand, int source);
  const char* ClassName() const override { return "CPlotVal"; }

  CApprox approx{6};           // statistics of the object's values; not saved
  std::int32_t source = 0;
  std::int32_t nextNumber = 0;  // Z of the next point placed by hand
  std::int32_t sortKey = 0;
  std::int32_t sortDirection = 0;  // 1 ascending, -1 descending, 0 unsorted
  CAxeScale xScale;
  CAxeScale yScale;

  const std::vector<DotValue>& Values() const { return values_; }
  // Replaces outline and values together (documents being read). False, and
  // nothing changed, when the two lengths differ.
  bool RestorePoints(std::vector<Point> outline, std::vector<DotValue> values);
  // Copies both scales and recomputes the outline from the values.
  void ApplyScales(const CAxeScale& x, const CAxeScale& y);

  // Plot position of a value pair through the object's scales.
  Point ToOutline(double x, double y) const { return {xScale.ToPlot(x), yScale.ToPlot(y)}; }

  bool AddPoint(Point p, bool finish = false, Surface* surface = nullptr) override;
  bool RemovePoint(int i) override;
  std::optional<Rect> MovePoint(int i, int dx, int dy) override;

  // Appends a point given by its values (no spacing check); the outline
  // point is the values through the scales.
  virtual bool AddValue(const DotValue& value, bool finish = false, Surface* surface = nullptr);
  // Appends every record as AddValue would (fresh records of X, Y and Z)
  // and finishes the edit; the list's storage is taken over, so a million
  // read points are not copied again.
  void AppendValues(std::vector<DotValue>&& values);
  // Text about the points under p (series only; empty here).
  virtual std::string GetPointInfo(Point /*p*/) const { return {}; }
  // Four texts for row i: series point number and X, Y, Z; false past the end.
  virtual bool GetValueTexts(int i, std::array<std::string, 4>& texts) const;
  // Removes every point whose marker contains p (series only); returns how many.
  virtual int EraseAt(Point /*p*/) { return 0; }
  // Every outline point recomputed from its values; bounds recomputed.
  virtual void RecalcOutline();

  // X, Y, Z of point i (or of the i-th selected point); nothing when out of range.
  std::optional<DotValue> GetValue(int i, bool selected = false) const;
  // Appends every point of every object in `others` (through this object's
  // scales), finishes the edit, clears the selection; returns how many.
  int Combine(const std::vector<const CPlotVal*>& others);
  // Removes the selected points; returns how many.
  int RemoveSelected();
  // Appends the indices of the points inside the area to the selection.
  void SelectInside(const CPlotClip& area);
  // Appends a record (X, Y, Z, count 3, flag 0) for every point inside the
  // area to `out`; returns the length of `out`.
  int CollectInside(const CPlotClip& area, std::vector<DotValue>& out) const;
  // Sorts on X (0), Y (1) or Z (2); the same key again reverses the order.
  // A key not below the records' count changes nothing (returns false).
  bool SortBy(int key);
  // X and Y of record i (the last one when i is out of range) from its outline point.
  void RecalcValues(int i);
  void RecalcAllValues();

 protected:
  void PointsMoved() override;
  void ResetSort() {
    sortKey = 0;
    sortDirection = 0;
  }
  std::vector<DotValue> values_;
};

class CPlotDot : public CPlotVal {
 public:
  CPlotDot(int colourCommand, int shapeCommand, int source);
  const char* ClassName() const override { return "CPlotDot"; }

  std::int32_t size = 10;  // marker size, 0.1 mm
  double aspect = 1.0;     // height / width, kept in [0.1, 10]
  double sizeX = 0.0;      // half sizes in value units when the size follows the scale
  double sizeY = 0.0;
  std::int32_t halfWidth = 1;  // plot units, at least 1
  std::int32_t halfHeight = 1;
  std::int32_t occupation = 0;  // draw the hatched union of the marker boxes
  std::int32_t sizeFollowsScale = 0;
  std::int32_t connect = 0;
  std::int32_t connectWidth = 1;  // plot units
  std::int32_t lineStart = 0;     // "Points on Lines": first point of the segment being drawn

  int ShapeCommand() const { return shapeCommand_; }
  int ShapeIndex() const { return shapeIndex_; }
  MarkerShape Shape() const { return static_cast<MarkerShape>(shapeIndex_); }
  void SetShape(int shapeCommand);
  void SetConnect(bool on) { connect = on ? 1 : 0; }
  void SetLineWidth(int plotUnits) { connectWidth = plotUnits; }
  // size and aspect stored; value-unit sizes from the current scale factors
  // kx, ky (value units per cm); marker recomputed.
  void SetSize(int size, double aspect, double kx, double ky);
  // New size and aspect, value-unit sizes rescaled by the ratio; marker recomputed.
  void ChangeSize(int size, double aspect);
  // Half width and height in plot units from the size fields and scales.
  void RecalcMarker();
  // 4 x half width x half height in value units.
  double MarkerArea() const;
  // The marker box of a point.
  Rect MarkerBox(Point p) const {
    return {p.x - halfWidth, p.y + halfHeight, p.x + halfWidth, p.y - halfHeight};
  }
  // Whether the marker drawn at `at` contains p.
  bool MarkerContains(Point at, Point p) const;

  bool AddPoint(Point p, bool finish = false, Surface* surface = nullptr) override;
  bool AddValue(const DotValue& value, bool finish = false, Surface* surface = nullptr) override;
  void WidenBounds() override;
  bool HitTest(Point p) const override;
  bool Draw(Surface& surface, const DrawContext& context) override;
  void DrawLabel(Surface& surface, const Rect& box, int textHeight = 0) override;
  std::string GetPointInfo(Point p) const override;
  int EraseAt(Point p) override;
  void RecalcOutline() override;

  // "Points on Lines": moves the end of the segment being drawn to p (or
  // adds it as the segment's end).
  void SetLineEnd(Point p);
  // Sprays points every `step` units along the current segment, then starts
  // the next segment at the end.
  void SprayLine();

 private:
  void DrawMarker(Surface& surface, Point at) const;
  int shapeCommand_;
  int shapeIndex_;
};

class CPlotClip : public CPlotVal {
 public:
  // kind: 32780 rectangle, 32781 irregular, 32782 density range (name prefix).
  CPlotClip(int colourCommand, int kindCommand);
  const char* ClassName() const override { return "CPlotClip"; }

  std::int32_t fill = 1;

  bool IsComplete() const override { return outline_.size() > 3; }
  void CalcBounds() override;
  // Refuses a point not farther than the step, or than 2 handle sizes, from
  // the last one unless the spacing check is off.
  bool AddPoint(Point p, bool finish = false, Surface* surface = nullptr) override;
  bool AddValue(const DotValue& value, bool finish = false, Surface* surface = nullptr) override;
  // A four-point rectangle keeps its shape: the neighbours follow the moved vertex.
  std::optional<Rect> MovePoint(int i, int dx, int dy) override;
  bool HitTest(Point p) const override;
  bool Draw(Surface& surface, const DrawContext& context) override;
  void DrawLabel(Surface& surface, const Rect& box, int textHeight = 0) override;
  bool GetValueTexts(int i, std::array<std::string, 4>& texts) const override;

  // Rectangle from point 0 to the second corner p (three copies of p are
  // added first when there are fewer than 2 points).
  void SetCorner(Point p, bool finish = false, Surface* surface = nullptr);
  // Index of the first vertex whose handle square contains p, or -1.
  int HitVertex(Point p) const;
  // Whether the integer point p lies in the polygon (even-odd).
  bool Contains(Point p) const;
  // Unit cells covered by the polygon; in value units when asked.
  double ComputedArea(bool inValues) const;

 protected:
  // Draws only when in progress, or finished with a polygon at least
  // 4 x max(line width, frame width) in both directions.
  bool IsDrawable() const;
  // Outline points clamped into the page when the object asks for it.
  std::vector<Point> PagePoints(const Rect& page) const;
};

class CPlotFunc : public CPlotClip {
 public:
  CPlotFunc(int colourCommand, int source);
  const char* ClassName() const override { return "CPlotFunc"; }

  FuncParams params;
  std::vector<DotValue> rangeCorners;  // (minX,minY) (minX,maxY) (maxX,maxY) (maxX,minY)
  Colour colour = 0;
  std::int32_t corridor = 0;
  std::int32_t samplerOption = 0;
  std::vector<DotValue> curve;  // sampled curve, value units
  std::int32_t sampleCapacity = 100;

  void SetColourCommand(int command) override;
  // Copies a valid vector; false (nothing kept) when it is too short.
  bool SetParameters(const FuncParams& vector);
  // Takes the range rectangle (at least 4 records), adds its corners as the
  // outline, then samples the curve. False when fewer than 4 records.
  bool SetRange(const std::vector<DotValue>& records);
  // The curve between range corners 0 and 2 with the sample capacity.
  void Resample();
  // Samples passed to the sampler: the capacity, less for very many sections.
  int SampleCount() const;
  // Samples for turning the function into points: a count from the bounds
  // and `divisor` (the view's point radius). Returns the number of records.
  int SamplesFor(int divisor, std::vector<DotValue>& records) const;
  // Method 40 only: removes section i and resamples. False otherwise.
  bool RemoveSection(int i);

  void CalcBounds() override;
  bool HitTest(Point p) const override;
  bool Draw(Surface& surface, const DrawContext& context) override;
  void DrawLabel(Surface& surface, const Rect& box, int textHeight = 0) override;

  // Index of the section whose widened segment contains p (method 40), or -1.
  int HitSection(Point p) const;
  // The curve in plot units, each coordinate clamped to -32000 .. 32000
  // (rebuilt by every draw and hit test).
  const std::vector<Point>& DrawBuffer() const { return drawBuffer_; }

 private:
  void BuildDrawBuffer() const;
  // Polylines of points[first .. first + count) split at non-finite curve points.
  void DrawFinitePieces(Surface& surface, std::size_t first, std::size_t count,
                        const std::vector<Point>& points) const;
  // Plot lengths of the deviation along X and Y.
  Size DeviationInPlot() const;
  mutable std::vector<Point> drawBuffer_;
};

}  // namespace tracemont
