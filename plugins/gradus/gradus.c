/*
 * Gradus: a polynomial multiplied by a power of a shifted argument,
 *
 *   f(U) = V0 + (U - U0)^M * (A0 + A1*U + ... + AN*U^N)
 *
 * M, N, U0 and V0 are chosen by the user; A0..AN are fitted by least squares
 * on z = (v - V0) / (u - U0)^M. Everything lives in the caller's buffers; no
 * state is kept between calls.
 *
 * The record (18 doubles):
 *   0 points passed, 1 min u, 2 max u, 3 min v (over the used points), 4 0,
 *   5 U0, 6 V0, 7 M, 8 N, 9..9+N A0..AN, up to 16 zeros, 17 RMS deviation.
 */
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "tracemont_plugin.h"

enum { kRecordSize = 18, kMaxDegree = 5, kFirstCoefficient = 9, kDeviation = 17 };

static const char kTitle[] = " y = V0 + (x-U0)^M *(A0 + A1*x...+AN*x^N)";
static const char kName[] = "f(U) = V0 + (U-U0)^M *(A0+...+AN*U^N)";
static const char* const kParamNames[4] = {"M", "N", "U0", "V0"};
static const double kParamDefaults[4] = {1.0, 4.0, 0.0, 0.0};

static double ClampM(double m) {
  if (m < -5.0) return -5.0;
  if (m > 5.0) return 5.0;
  return m;
}

/* Copies text with truncation; returns the length copied. */
static int CopyText(const char* text, char* buffer, int bufferSize) {
  if (bufferSize <= 0) return 0;
  size_t length = strlen(text);
  if (length > (size_t)(bufferSize - 1)) length = (size_t)(bufferSize - 1);
  memcpy(buffer, text, length);
  buffer[length] = '\0';
  return (int)length;
}

/* The degree stored in a record, kept to what the record can hold so that a
 * damaged record is never read past its end. */
static int StoredDegree(const double* record, int recordSize) {
  const double n = record[8];
  if (!(n >= 0.0)) return -1;
  int degree = n > kMaxDegree ? kMaxDegree : (int)n;
  if (kFirstCoefficient + degree >= recordSize) degree = recordSize - kFirstCoefficient - 1;
  return degree;
}

TRACEMONT_PLUGIN_EXPORT int MaxOfFactors(void) { return kRecordSize; }

/* Solves the (m+1) x (m+2) augmented system in place by elimination without
 * pivoting: normalise the pivot row from its right-hand side back to the
 * pivot, eliminate below over the whole row, then substitute back. */
static void Eliminate(int m, double matrix[kMaxDegree + 1][kMaxDegree + 2], double* x) {
  for (int r = 0; r <= m; ++r) {
    const double pivot = matrix[r][r];
    for (int c = m + 1; c >= r; --c) matrix[r][c] /= pivot;
    for (int i = r + 1; i <= m; ++i)
      for (int c = m + 1; c >= 0; --c) matrix[i][c] -= matrix[i][r] * matrix[r][c];
  }
  x[m] = matrix[m][m + 1];
  for (int i = m - 1; i >= 0; --i) {
    double sum = matrix[i][m + 1];
    for (int j = i + 1; j <= m; ++j) sum -= matrix[i][j] * x[j];
    x[i] = sum;
  }
}

TRACEMONT_PLUGIN_EXPORT double CalcInPoint(double u, const double* record, int recordSize) {
  if (record == NULL || recordSize <= kDeviation) return 0.0;
  const double m = ClampM(record[7]);
  const int degree = StoredDegree(record, recordSize);
  if (degree < 0) return 0.0;
  double sum = 0.0;
  double power = 1.0;
  for (int k = 0; k <= degree; ++k) {
    sum += record[kFirstCoefficient + k] * power;
    power *= u;
  }
  return pow(u - record[5], m) * sum + record[6];
}

TRACEMONT_PLUGIN_EXPORT int Prepare(double uMin, double uMax, double vMin, double vMax,
                                    const double* u, const double* v, const double* w, int count,
                                    const double* params, int paramCount, double* record,
                                    int recordSize) {
  if (count < 2) return -1;
  if (recordSize < kRecordSize) return -2;
  if (u == NULL || v == NULL || w == NULL || record == NULL) return -1;
  if (params == NULL) paramCount = 0;

  const double m = ClampM(paramCount >= 1 ? params[0] : 1.0);
  int degree = 4;
  if (paramCount >= 2) {
    const double n = params[1];
    degree = !(n >= 0.0) ? 0 : (n > kMaxDegree ? kMaxDegree : (int)n);
  }
  const double u0 = paramCount >= 3 ? params[2] : 0.0;
  const double v0 = paramCount >= 4 ? params[3] : 0.0;

  /* Points at u = U0 cannot be divided by (u - U0)^M: they take no part in
   * the fit, but they count in the deviation. */
  int usable = 0;
  for (int i = 0; i < count; ++i) {
    if (u[i] == u0) continue;
    if (usable == 0) {
      uMin = uMax = u[i];
      vMin = vMax = v[i];
    } else {
      if (u[i] < uMin) uMin = u[i];
      if (u[i] > uMax) uMax = u[i];
      if (v[i] < vMin) vMin = v[i];
      if (v[i] > vMax) vMax = v[i];
    }
    ++usable;
  }
  const double g = fabs(uMax - uMin);
  if (degree > usable - 1) degree = usable - 1;
  if (degree < 0) degree = 0;

  double matrix[kMaxDegree + 1][kMaxDegree + 2];
  memset(matrix, 0, sizeof matrix);
  for (int i = 0; i < count; ++i) {
    if (u[i] == u0) continue;
    const double t = u[i] / g;
    const double z = (v[i] - v0) / pow(u[i] - u0, m);
    double powers[2 * kMaxDegree + 1];
    powers[0] = 1.0;
    for (int k = 1; k <= 2 * degree; ++k) powers[k] = powers[k - 1] * t;
    for (int r = 0; r <= degree; ++r) {
      for (int c = 0; c <= degree; ++c) matrix[r][c] += w[i] * powers[r + c];
      matrix[r][degree + 1] += w[i] * powers[r] * z;
    }
  }
  double x[kMaxDegree + 1];
  Eliminate(degree, matrix, x);

  for (int k = 0; k < recordSize && k < kRecordSize; ++k) record[k] = 0.0;
  record[0] = count;
  record[1] = uMin;
  record[2] = uMax;
  record[3] = vMin;
  record[5] = u0;
  record[6] = v0;
  record[7] = m;
  record[8] = degree;
  double scale = 1.0;
  for (int k = 0; k <= degree; ++k) {
    record[kFirstCoefficient + k] = x[k] / scale;
    scale *= g;
  }
  double squares = 0.0;
  for (int i = 0; i < count; ++i) {
    const double e = CalcInPoint(u[i], record, kRecordSize) - v[i];
    squares += e * e;
  }
  record[kDeviation] = sqrt(squares / count);
  return kRecordSize;
}

TRACEMONT_PLUGIN_EXPORT int FunctionTitle(char* buffer, int bufferSize) {
  if (buffer == NULL) return -1;
  return CopyText(kTitle, buffer, bufferSize);
}

TRACEMONT_PLUGIN_EXPORT int FunctionName(char* buffer, int bufferSize) {
  if (buffer == NULL) return -1;
  return CopyText(kName, buffer, bufferSize);
}

TRACEMONT_PLUGIN_EXPORT int FunctionString(const double* record, int recordSize, char* buffer,
                                           int bufferSize) {
  if (buffer == NULL) return -1;
  if (record == NULL || recordSize < kRecordSize) return -2;
  const double u0 = record[5];
  const double v0 = record[6];
  const double m = record[7];
  const int degree = StoredDegree(record, recordSize);

  /* Six terms of at most "+" + 24 characters of %4.4g + "*U^5": 200 bytes. */
  char polynomial[256] = "";
  size_t used = 0;
  for (int k = 0; k <= degree; ++k) {
    const double a = record[kFirstCoefficient + k];
    char term[64];
    int length = 0;
    if (a > 0 && k > 0) term[length++] = '+';
    term[length] = '\0';
    if (a != 0) {
      length += snprintf(term + length, sizeof term - (size_t)length, "%4.4g", a);
      if (k > 0) snprintf(term + length, sizeof term - (size_t)length, "*U^%1d", k);
    }
    const size_t termLength = strlen(term);
    if (used + termLength < sizeof polynomial) {
      memcpy(polynomial + used, term, termLength + 1);
      used += termLength;
    }
  }
  char prefix[48] = "";
  if (v0 != 0) snprintf(prefix, sizeof prefix, "%4.4g + ", v0);
  char base[48] = "U";
  if (u0 != 0) snprintf(base, sizeof base, "(U-%4.4g)", u0);

  char text[512];
  if (m != 1.0)
    snprintf(text, sizeof text, "f(U) = %s%s^%3.1f * (%s)", prefix, base, m, polynomial);
  else
    snprintf(text, sizeof text, "f(U) = %s%s * (%s)", prefix, base, polynomial);
  return CopyText(text, buffer, bufferSize);
}

TRACEMONT_PLUGIN_EXPORT int ParamInfo(int index, char* buffer, int bufferSize,
                                      double* defaultValue) {
  if (buffer == NULL || index < 1 || index > 4) return -1;
  if (defaultValue != NULL) *defaultValue = kParamDefaults[index - 1];
  return CopyText(kParamNames[index - 1], buffer, bufferSize);
}
