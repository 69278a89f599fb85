/*
 * The contract of a Tracemont approximation plug-in.
 *
 * A plug-in is a shared library placed in the folder "Appr" beside the
 * tracemont executable. It supplies one family of functions for the method
 * "User defined function": the user picks it by its title, sets up to four
 * shape parameters, and the library fits the family to the points and
 * evaluates and describes the result.
 *
 * The library exports the seven functions below with C linkage under exactly
 * these names. Integers are 32-bit signed, doubles are passed by value, texts
 * are zero-terminated byte strings written into buffers the host owns (the
 * host passes 255-byte buffers). The library never allocates memory that
 * outlives a call and never frees memory it did not allocate; every entry
 * point uses only its arguments, so the library needs no locking.
 *
 * Text results are copied with truncation: at most bufferSize - 1 bytes and
 * a terminating zero; the result is the length copied.
 *
 * Calling order, for one fit and its display:
 *   MaxOfFactors, Prepare                   (fit)
 *   CalcInPoint once per point and sample   (deviation, drawing)
 *   FunctionString                          (formula text)
 * FunctionTitle is called while listing the plug-ins, ParamInfo when the user
 * selects one, FunctionName when the user leaves the plug-in page.
 *
 * A library that exports MaxOfFactors and Prepare is listed; entry points it
 * does not export are never called (its title is then empty, its function
 * evaluates to 0 and its formula reads "test user").
 */
#ifndef TRACEMONT_PLUGIN_H
#define TRACEMONT_PLUGIN_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define TRACEMONT_PLUGIN_EXPORT __declspec(dllexport)
#else
#define TRACEMONT_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

/* Size, in doubles, of the record that Prepare fills. The host stores the
 * record inside the function's parameters and hands it back to CalcInPoint
 * and FunctionString; it never interprets it. */
TRACEMONT_PLUGIN_EXPORT int MaxOfFactors(void);

/* Fits the family to count points (u[i], v[i]) with weights w[i] (the host
 * passes 1.0). uMin..uMax and vMin..vMax are the ranges of the points;
 * params holds paramCount shape parameters (the host passes the four values
 * of ParamInfo's order); record has recordSize doubles (MaxOfFactors) to be
 * written. Returns a value greater than 0 on success; 0 or less means the
 * fit failed and the host falls back to a constant. */
TRACEMONT_PLUGIN_EXPORT int Prepare(double uMin, double uMax, double vMin, double vMax,
                                    const double* u, const double* v, const double* w, int count,
                                    const double* params, int paramCount, double* record,
                                    int recordSize);

/* Value of the fitted function at u, from the record Prepare wrote. */
TRACEMONT_PLUGIN_EXPORT double CalcInPoint(double u, const double* record, int recordSize);

/* Title of the family, shown in the list of plug-ins. -1 when buffer is null. */
TRACEMONT_PLUGIN_EXPORT int FunctionTitle(char* buffer, int bufferSize);

/* Generic formula of the family, shown before the first fit. -1 when buffer
 * is null. */
TRACEMONT_PLUGIN_EXPORT int FunctionName(char* buffer, int bufferSize);

/* Formula of the fitted function with its coefficients. -1 when buffer is null. */
TRACEMONT_PLUGIN_EXPORT int FunctionString(const double* record, int recordSize, char* buffer,
                                           int bufferSize);

/* Name of shape parameter index (1..4) into buffer; when defaultValue is not
 * null, its default is written there. -1 when buffer is null or index is
 * outside 1..4 (defaultValue untouched). */
TRACEMONT_PLUGIN_EXPORT int ParamInfo(int index, char* buffer, int bufferSize,
                                      double* defaultValue);

/* Pointer types for hosts that look the entry points up by name. */
typedef int (*TracemontMaxOfFactorsFn)(void);
typedef int (*TracemontPrepareFn)(double, double, double, double, const double*, const double*,
                                  const double*, int, const double*, int, double*, int);
typedef double (*TracemontCalcInPointFn)(double, const double*, int);
typedef int (*TracemontFunctionTitleFn)(char*, int);
typedef int (*TracemontFunctionNameFn)(char*, int);
typedef int (*TracemontFunctionStringFn)(const double*, int, char*, int);
typedef int (*TracemontParamInfoFn)(int, char*, int, double*);

#ifdef __cplusplus
}
#endif

#endif /* TRACEMONT_PLUGIN_H */
