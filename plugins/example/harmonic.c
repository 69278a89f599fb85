/*
 * Harmonic: an example plug-in, a line with a sine wave on top,
 *
 *   f(U) = A + B*U + C*sin(D*(U - U0))
 *
 * D and U0 are chosen by the user (and whether the line may slope); A, B and
 * C are fitted by least squares, which is linear once D and U0 are fixed.
 *
 * Record (8 doubles): 0 A, 1 B, 2 C, 3 D, 4 U0, 5 slope allowed (0 or 1),
 * 6 RMS deviation, 7 number of points.
 */
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "tracemont_plugin.h"

enum { kRecordSize = 8 };

static const char* const kNames[4] = {"D", "U0", "Slope", "Unused"};
static const double kDefaults[4] = {1.0, 0.0, 1.0, 0.0};

static int Copy(const char* text, char* buffer, int size) {
  if (size <= 0) return 0;
  size_t n = strlen(text);
  if (n > (size_t)(size - 1)) n = (size_t)(size - 1);
  memcpy(buffer, text, n);
  buffer[n] = '\0';
  return (int)n;
}

TRACEMONT_PLUGIN_EXPORT int MaxOfFactors(void) { return kRecordSize; }

TRACEMONT_PLUGIN_EXPORT double CalcInPoint(double u, const double* r, int size) {
  if (r == NULL || size < kRecordSize) return 0.0;
  return r[0] + r[1] * u + r[2] * sin(r[3] * (u - r[4]));
}

/* Solves a small system with partial pivoting; returns 0 when singular. */
static int Solve(int n, double a[3][4], double* x) {
  for (int c = 0; c < n; ++c) {
    int best = c;
    for (int r = c + 1; r < n; ++r)
      if (fabs(a[r][c]) > fabs(a[best][c])) best = r;
    if (fabs(a[best][c]) < 1e-300) return 0;
    for (int k = 0; k <= n; ++k) {
      const double t = a[c][k];
      a[c][k] = a[best][k];
      a[best][k] = t;
    }
    for (int r = 0; r < n; ++r) {
      if (r == c) continue;
      const double f = a[r][c] / a[c][c];
      for (int k = c; k <= n; ++k) a[r][k] -= f * a[c][k];
    }
  }
  for (int r = 0; r < n; ++r) x[r] = a[r][n] / a[r][r];
  return 1;
}

TRACEMONT_PLUGIN_EXPORT int Prepare(double uMin, double uMax, double vMin, double vMax,
                                    const double* u, const double* v, const double* w, int count,
                                    const double* params, int paramCount, double* record,
                                    int recordSize) {
  (void)uMin, (void)uMax, (void)vMin, (void)vMax;
  if (count < 3 || u == NULL || v == NULL || w == NULL) return -1;
  if (record == NULL || recordSize < kRecordSize) return -2;
  const double d = params != NULL && paramCount >= 1 ? params[0] : kDefaults[0];
  const double u0 = params != NULL && paramCount >= 2 ? params[1] : kDefaults[1];
  const int slope = params != NULL && paramCount >= 3 ? params[2] != 0.0 : 1;

  /* Unknowns: A, C, and B when the line may slope. */
  const int n = slope ? 3 : 2;
  double a[3][4] = {{0}};
  for (int i = 0; i < count; ++i) {
    const double basis[3] = {1.0, sin(d * (u[i] - u0)), u[i]};
    for (int r = 0; r < n; ++r) {
      for (int c = 0; c < n; ++c) a[r][c] += w[i] * basis[r] * basis[c];
      a[r][n] += w[i] * basis[r] * v[i];
    }
  }
  double x[3] = {0, 0, 0};
  if (!Solve(n, a, x)) return 0;

  record[0] = x[0];
  record[1] = slope ? x[2] : 0.0;
  record[2] = x[1];
  record[3] = d;
  record[4] = u0;
  record[5] = slope;
  record[7] = count;
  double squares = 0.0;
  for (int i = 0; i < count; ++i) {
    const double e = CalcInPoint(u[i], record, kRecordSize) - v[i];
    squares += e * e;
  }
  record[6] = sqrt(squares / count);
  return kRecordSize;
}

TRACEMONT_PLUGIN_EXPORT int FunctionTitle(char* buffer, int size) {
  return buffer == NULL ? -1 : Copy(" y = A + B*x + C*sin(D*(x-U0))", buffer, size);
}

TRACEMONT_PLUGIN_EXPORT int FunctionName(char* buffer, int size) {
  return buffer == NULL ? -1 : Copy("f(U) = A + B*U + C*sin(D*(U-U0))", buffer, size);
}

TRACEMONT_PLUGIN_EXPORT int FunctionString(const double* r, int recordSize, char* buffer, int size) {
  if (buffer == NULL) return -1;
  if (r == NULL || recordSize < kRecordSize) return -2;
  char text[256];
  snprintf(text, sizeof text, "f(U) = %4.4g + %4.4g*U + %4.4g*sin(%4.4g*(U-%4.4g))", r[0], r[1],
           r[2], r[3], r[4]);
  return Copy(text, buffer, size);
}

TRACEMONT_PLUGIN_EXPORT int ParamInfo(int index, char* buffer, int size, double* defaultValue) {
  if (buffer == NULL || index < 1 || index > 4) return -1;
  if (defaultValue != NULL) *defaultValue = kDefaults[index - 1];
  return Copy(kNames[index - 1], buffer, size);
}
