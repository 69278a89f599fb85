/* A test plug-in that exports only the two entry points a plug-in needs to
 * be listed: it fits (a constant record) but cannot evaluate or describe. */
#include "tracemont_plugin.h"

TRACEMONT_PLUGIN_EXPORT int MaxOfFactors(void) { return 2; }

TRACEMONT_PLUGIN_EXPORT int Prepare(double uMin, double uMax, double vMin, double vMax,
                                    const double* u, const double* v, const double* w, int count,
                                    const double* params, int paramCount, double* record,
                                    int recordSize) {
  (void)uMin, (void)uMax, (void)vMin, (void)vMax, (void)u, (void)v, (void)w, (void)params,
      (void)paramCount;
  if (recordSize < 2) return -2;
  record[0] = count;
  record[1] = 42.0;
  return 2;
}
