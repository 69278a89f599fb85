"""Times numpy.polyfit and scipy.optimize.curve_fit on the data of
bench_approx and prints them beside its figures (read from its JSON output)."""
import json
import statistics
import sys
import time

import numpy as np
from scipy.optimize import curve_fit


def noise(i):
    return 0.01 * np.sin(12.9898 * i)


def median_time(run, repeats):
    times = []
    result = None
    for _ in range(repeats):
        start = time.perf_counter()
        result = run()
        times.append(time.perf_counter() - start)
    return statistics.median(times), result


def blas_kernel():
    try:
        from threadpoolctl import threadpool_info
        found = ", ".join(f"{i.get('internal_api')} {i.get('architecture')} x{i.get('num_threads')}"
                          for i in threadpool_info())
        return found or "reference BLAS/LAPACK (no optimised library found)"
    except ImportError:
        return "unknown (no threadpoolctl)"


def main():
    ours = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}

    def our_ms(prefix):
        for name, b in ours.items():
            if name.startswith(prefix):
                return b["real_time"], b
        return float("nan"), {}

    n = 1_000_000
    i = np.arange(n)
    x = -1 + 2.0 * i / (n - 1)
    y = 1 + x * (0.5 + x * (-2 + x * (0.3 + x * (1 - 0.7 * x)))) + noise(i)
    poly_s, coef = median_time(lambda: np.polyfit(x, y, 5), 5)
    print(f"numpy {np.__version__}, scipy {__import__('scipy').__version__}; BLAS: {blas_kernel()}")
    print()
    print("Polynomial fit, degree 5, 1,000,000 points")
    print(f"  numpy.polyfit                         {poly_s * 1e3:8.1f} ms   a5 = {coef[0]:.6f}")
    for label, prefix in (("FitFunction (reused calculator)", "PolynomialFit/degree5/1M/FitFunction"),
                          ("FitFunction (fresh calculator)", "PolynomialFit/degree5/1M/FitFunctionFresh"),
                          ("normal equations alone", "PolynomialFit/degree5/1M/NormalEquations")):
        ms, _ = our_ms(prefix)
        print(f"  {label:37s} {ms:8.1f} ms   {poly_s * 1e3 / ms:5.1f}x faster than numpy")

    m = 10_000
    j = np.arange(m)
    u = 2.0 * j / (m - 1)
    v = 1 + 2 * np.exp(0.5 * u) + noise(j)
    model = lambda t, a, b, c: a + b * np.exp(c * t)  # noqa: E731
    fit_s, (params, _, info, _, _) = median_time(
        lambda: curve_fit(model, u, v, p0=[0.5, 1.5, 0.3], full_output=True), 5)
    rss = float(np.sum((model(u, *params) - v) ** 2))
    print()
    print("Non-linear fit a+b*exp(c*u), 10,000 points, start a=0.5 b=1.5 c=0.3")
    print(f"  scipy curve_fit (LM)                  {fit_s * 1e3:8.1f} ms   {info['nfev']} evaluations"
          f"   a={params[0]:.5f} b={params[1]:.5f} c={params[2]:.5f} rss={rss:.4f}")
    for label, prefix in (("formula as typed", "NonLinear/a+b*exp(c*u)/10k/literal"),
                          ("parameters scaled in the formula", "NonLinear/a+b*exp(c*u)/10k/scaled")):
        ms, b = our_ms(prefix)
        if b.get("converged", 0) >= 1:
            outcome = (f"converged in {b['iterations']:.0f} iterations   a={b['a']:.5f} b={b['b']:.5f}"
                       f" c={b['c']:.5f} rss={b['rss']:.4f}")
        else:
            outcome = f"no convergence in {b.get('iterations', 0):.0f} iterations (constant fit stored)"
        print(f"  DFP, {label:32s} {ms:8.1f} ms   {outcome}")


if __name__ == "__main__":
    main()
