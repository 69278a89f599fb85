// Functions on formula (method 100): a parametric curve x = X(u), y = Y(u)
// for u in [uMin, uMax], optionally a family of such curves, one for each v
// from vMin to vMax in steps of vStep. The function object stores only the
// texts and the ranges in its FuncParams and samples them afresh through the
// evaluator whenever it is drawn.
//
// FuncParams layout: [0] = 100, [2] = n = L + 2 where L counts the values
// written from [10] on, the rest of the header 0; from [10]: X text and Y
// text (PackText), the range triple (uMin, uMax, 0), the family triple
// (vMin, vMax, vStep) only for a family, then three zeros (the first two
// counted in n).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "approx/func_params.h"
#include "model/dot_value.h"

namespace tracemont {

class CFormulaCalc;

// What a function on formula is made of (the defaults of a new one).
struct FormulaCurve {
  std::string xText = "u";
  std::string yText = "u";
  double uMin = 0.0;
  double uMax = 1.0;
  bool useV = false;  // a family: the family triple is stored
  double vMin = 0.0;
  double vMax = 1.0;
  double vStep = 0.5;
};

// A family never has more curves than this; a step that would give more
// draws the first kMaxFormulaCurves of them.
inline constexpr int kMaxFormulaCurves = 1000;

// The method-100 parameter vector of `curve` (layout above).
FuncParams BuildFormulaParams(const FormulaCurve& curve);

// Reads a method-100 vector back: the texts, the range triple and, when the
// number of triples T = (n - p) / 3 is at least 2 (p: the values taken by
// the two texts), the family triple. Nothing when the vector is invalid, of
// another method, or its texts do not leave room for the range triple.
std::optional<FormulaCurve> ReadFormulaParams(const FuncParams& params);

// DescribeFunction for method 100. Mode 1: "x=" X "; y=" Y, the X text, the
// Y text, then every value after the two texts up to data entry n - 1 as
// "%6.2f". Mode 0: for each of those values a label ("%d", counting from 4)
// and the value ("%4.4g"). The list is emptied first; returns the row count
// (0 for a vector ReadFormulaParams rejects).
int DescribeFormulaFunction(const FuncParams& params, std::vector<std::string>& rows, int mode);

// Number of curves the function draws: for a method-100 family
// floor((vMax - vMin) / |vStep|) + 1 after ordering vMin <= vMax (at most
// kMaxFormulaCurves); 1 for a single curve, a step of 0, a step that does
// not fit into the range, a range that is not a number, and any other
// method.
int CountCurves(const FuncParams& params);

// Samples a method-100 curve into `curve` (emptied first) with `samples`
// intervals per curve: each curve contributes samples + 1 points (X, Y, 0)
// at u = uMin + (uMax - uMin) * i / samples, i = 0..samples, curve after
// curve; curve k of a family is computed at v = vMin + k * |vStep|, a single
// curve at v = 0. A coordinate whose evaluation fails at a point is 0; a
// text that fails cleaning, samples < 1 or a rejected vector give no points.
// Uses the process-wide evaluator unless one is given. Returns the number of
// points.
int SampleFormulaCurve(const FuncParams& params, std::vector<DotValue>& curve, int samples,
                       CFormulaCalc& calc);
int SampleFormulaCurve(const FuncParams& params, std::vector<DotValue>& curve, int samples);

// How a function object draws its sampled curve of `curvePoints` points:
// half-open index ranges [first, last) of the curve, one polyline each. A
// method-100 family whose point count divides into CountCurves(params)
// equal parts gives one range per curve; anything else one range over the
// whole curve (none for an empty curve).
std::vector<std::pair<std::size_t, std::size_t>> CurvePolylines(const FuncParams& params,
                                                               std::size_t curvePoints);

// Checks both texts as the formula dialog does before it builds: each is
// evaluated at v = 0 over [uMin, uMax] (CheckOnRange). Empty when both pass;
// otherwise "Check strings, please. Possible errors are:" and, per failing
// text, a line feed, the message and " in X(u)" or " in Y(u)". A text
// longer than 255 characters fails with "Formula longer than 255
// characters".
std::string ValidateFormulaCurve(CFormulaCalc& calc, const std::string& xText,
                                 const std::string& yText, double uMin, double uMax);

}  // namespace tracemont
