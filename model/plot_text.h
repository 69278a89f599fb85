// CPlotText: a commentary, a text tied to a point of the plot (its anchor).
//
// Two modes: a callout box beside the anchor (outline points 0..7: 0 the
// anchor, 1..7 the callout read as leader base, anchor, leader base, then
// round the box), or the text written along a hand-drawn path, one character
// per outline point from index 9 on (the path begins at point 8).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/font.h"
#include "model/plot_objects.h"

namespace tracemont {

// The display's default font as the platform layer measures it: average
// character width and height in any one unit. Process-wide, since there is
// one display; the Qt layer sets it at start-up.
void SetDisplayFontMetrics(int averageWidth, int height);
// Forgets the metrics set before (tests; the ratio returns to 0.5).
void ClearDisplayFontMetrics();
// Ratio r of average character width to height: 0.5 while no metrics are
// set, 1.0 when the height is 0, 0 when the ratio is negative.
double CharWidthRatio();

// Character height ch and average width cw of a text size, plot units.
struct CharMetrics {
  int height = 0;
  int width = 0;
};
// ch = trunc(size x 10 / 25.4), cw = trunc(size x r x 10 / 25.4), each kept
// within 0..1e8 so that absurd stored sizes cannot overflow coordinates.
CharMetrics CharMetricsOf(int textSizeTenthMm, double ratio);

class CPlotText : public CPlotVal {
 public:
  // Outline indices.
  static constexpr int kAnchorPoint = 0;
  static constexpr int kCalloutPoints = 8;  // points 0..7
  static constexpr int kPathStart = 8;
  static constexpr int kFirstCharPoint = 9;
  // Offset of the shadow, plot units (the frame width).
  static constexpr int kShadowOffset = 6;
  // Source of a commentary the user makes.
  static constexpr int kMadeByUser = 1;

  // Positions of the box relative to the anchor.
  enum Position { kUpperLeft = 0, kUpperRight = 1, kCentred = 2, kLowerRight = 3, kLowerLeft = 4 };

  // An empty commentary anchored at `anchor` (plot units); source 1 when the
  // user creates it. The outline stays empty until the text is set.
  CPlotText(Point anchor, int source);
  const char* ClassName() const override { return "CPlotText"; }

  // --- fields ------------------------------------------------------------------
  std::int32_t drawText = 0;  // 0 callout box, 1 text along the path
  Point anchor;
  std::string text;           // UTF-8, lines separated by CR LF
  Colour textColour = 0;
  Colour backgroundColour = Rgb(255, 255, 0);
  std::uint32_t reserved = 0;  // kept in files, not interpreted
  std::int32_t textSize = 50;  // character height, 0.1 mm
  std::int32_t angle = 0;      // degrees, 0..360, used in position 2 only
  std::int32_t position = kUpperLeft;
  std::int32_t background = 1;  // filled callout (with shadow) or only leader and edge
  FontDescription font;

  // The text cut into lines by the last layout.
  const std::vector<std::string>& Lines() const { return lines_; }
  // Character height and width of the current text size, plot units.
  CharMetrics Metrics() const { return CharMetricsOf(textSize, CharWidthRatio()); }

  // Stores the text (adding the 8 callout points at the anchor first when the
  // outline is empty), lays it out and finishes the edit.
  void SetText(std::string utf8);
  // Store the value, lay out, finish the edit.
  void SetPosition(int position);
  void SetTextSize(int tenthMm);
  // Clamps to 0..360; lays out only in position 2.
  void SetAngle(int degrees);
  // Rebuilds the lines and rewrites outline points 0..7 (when they exist);
  // points from index 8 on are left alone. Values follow the outline.
  void Layout();
  // Lines only (after reading, when the stored outline must stay as it is).
  void RebuildLines();
  // The text with every CR LF as one space, as written along the path.
  std::string PathText() const;

  std::string GetName() const override { return text; }
  // Copies the style of another commentary (colours, background, shadow,
  // position, size, angle); lays out and finishes the edit in any case.
  void CopyStyle(const CPlot& other) override;
  // Path points: from the 11th point on, refused once every character has a
  // point or when not farther than ch from the last point.
  bool AddPoint(Point p, bool finish = false, Surface* surface = nullptr) override;
  // Box mode moves the anchor and the callout; draw-text mode moves nothing.
  void Offset(int dx, int dy) override;
  bool HitTest(Point p) const override;
  bool Draw(Surface& surface, const DrawContext& context) override;
  // Points from values, point 0 as the anchor, then the layout.
  void RecalcOutline() override;

 private:
  // Bounds of the outline points [first, last) widened by (dx, dy).
  void BoundsOf(std::size_t first, std::size_t last, int dx, int dy);
  void DrawBox(Surface& surface) const;
  void DrawPath(Surface& surface, const DrawContext& context) const;
  // The font of the text: height from the size, rotated in position 2.
  FontDescription TextFont() const;
  int EffectivePosition() const;
  std::vector<std::string> lines_;
};

}  // namespace tracemont
