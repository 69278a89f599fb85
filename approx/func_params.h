// FuncParams: the parameter vector that describes every function curve, and
// the free operations every user of a stored function calls.
//
// Layout: [0] method id, [1] direction (0: Y = f(X), 1: X = f(Y)), [2] n,
// [3] min X, [4] min Y, [5] max X, [6] max Y, [7] RMS deviation, [8], [9]
// reserved, [10 .. 10 + n] the method block, [11 + n] the deviation again
// after a fit. Integers are stored as doubles and read back truncated.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/dot_value.h"

namespace tracemont {

using FuncParams = std::vector<double>;

namespace method {
constexpr int kPolynomial = 0;
constexpr int kHyperbolic = 2;
constexpr int kLogarithmic = 4;
constexpr int kPower = 6;
constexpr int kExponential = 8;
constexpr int kPieceLinear = 20;
constexpr int kClosedSpline = 30;
constexpr int kSections = 40;
constexpr int kLogistic1 = 50;
constexpr int kLogistic2 = 51;
constexpr int kFourier = 60;
constexpr int kNeural1 = 70;
constexpr int kNeural2 = 71;
constexpr int kPlugin = 80;
constexpr int kNonLinear = 90;
constexpr int kEllipse = 99;
constexpr int kFormula = 100;
}  // namespace method

constexpr std::size_t kFuncHeaderSize = 10;

// Truncates a stored double to an int (toward zero), saturating so that
// absurd stored values cannot overflow.
int StoredInt(double v);

// At least 10 entries and at least trunc([2]) + 11 entries.
bool IsValidParams(const FuncParams& p);
// Method id of a vector (0 when it is empty).
int MethodOf(const FuncParams& p);
// Direction of a vector (0 when shorter than 2).
int DirectionOf(const FuncParams& p);

// Appends text of L bytes as L + 1 doubles (L, then each byte as a signed
// 8-bit value); returns L + 1.
int PackText(const std::string& text, FuncParams& out);
// Reads a packed text starting at `at`; L < 0 or a vector too short for L
// bytes gives the bytes that are there. Returns the text; `length` gets L.
std::string UnpackText(const FuncParams& p, std::size_t at, int* length = nullptr);

// Value of the function at argument u; 0 for an invalid vector or a method
// without a pointwise evaluator.
double EvalFunction(const FuncParams& p, double u);
// Valid, and the method is evaluated point by point.
bool IsPointwise(const FuncParams& p);
// Text rows: mode 1 gives [formula, deviation]; mode 0 the (label, value)
// pairs of the coefficient table. The list is emptied first; returns the row
// count (0 for an invalid vector).
int DescribeFunction(const FuncParams& p, std::vector<std::string>& rows, int mode);
// The numbered rows of a coefficient table (mode 0 of the descriptions):
// for each of `count` values its label, "%d" of firstLabel + i, and the value
// in "%4.4g". Appends to `rows`; returns its length.
int AppendCoefficientRows(std::vector<std::string>& rows, int firstLabel, const double* values,
                          std::size_t count);
// Samples the curve between range corners a and c into `curve` (emptied
// first): S samples; `straight` lets a straight line use two samples;
// `subdivide` and `centre` select the piece-linear drawings. Returns the
// number of points (0 for an invalid vector).
int SampleCurve(const FuncParams& p, const DotValue& a, const DotValue& c,
                std::vector<DotValue>& curve, int samples, bool straight, int subdivide,
                int centre);

// How a sampled curve of `points` points is drawn: (first index, count)
// pieces, each one polyline. Families of formula curves give one piece per
// member; every other method one piece of the whole curve.
std::vector<std::pair<std::size_t, std::size_t>> CurvePieces(const FuncParams& p,
                                                             std::size_t points);

// Sections (method 40) only, with at least 2 sections and 0 <= i < k:
// removes section i (its four entries; later entries move down) and lowers
// [2] by 4. False, and nothing changed, otherwise.
bool DeleteSection(FuncParams& p, int i);

}  // namespace tracemont
