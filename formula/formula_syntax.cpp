#include "formula/formula_syntax.h"

#include <locale.h>
#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace tracemont::formula {

std::string UnexpectedSymbolMessage(char c) {
  std::string message = "Unexpected symbol '";
  message += c;
  message += "'";
  return message;
}

std::string BadSymbolMessage(std::string_view symbol) {
  std::string message = "Bad symbol '";
  if (symbol.size() > kMaxQuotedSymbol) {
    message.append(symbol.substr(0, kMaxQuotedSymbol));
    message += "...";
  } else {
    message.append(symbol);
  }
  message += "' in expression";
  return message;
}

namespace {

constexpr bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

constexpr char ToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

CleanResult CleanFormula(std::string_view raw) {
  const std::size_t nul = raw.find('\0');
  if (nul != std::string_view::npos) raw = raw.substr(0, nul);

  std::string text;
  text.reserve(raw.size());
  for (const char c : raw)
    if (!IsWhiteSpace(c)) text.push_back(c);
  if (text.empty()) return {false, std::string(kMsgEmpty1)};

  const std::size_t equals = text.find('=');
  if (equals == 0) return {false, std::string(kMsgEmpty2)};
  if (equals != std::string::npos) text.resize(equals);

  const auto opening = std::count(text.begin(), text.end(), '(');
  const auto closing = std::count(text.begin(), text.end(), ')');
  if (opening != closing) return {false, std::string(kMsgBrackets)};

  // "x" is another name of u; "ex" and "ax" stay for exp( and max(.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != 'x') continue;
    if (i > 0 && (text[i - 1] == 'e' || text[i - 1] == 'a')) continue;
    text[i] = 'u';
  }

  if (text.size() > kMaxFormulaLength) return {false, std::string(kMsgTooLong)};
  return {true, std::move(text)};
}

std::size_t NumberLength(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsDigit(text[i])) ++i;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) ++i;
  }
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && IsSignChar(text[i])) ++i;
    while (i < n && IsDigit(text[i])) ++i;
  }
  return i;
}

double NumberValue(std::string_view number) {
  // The program may run under any user locale; numbers are always written
  // with a decimal point.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const std::string copy(number);
  if (cLocale == static_cast<locale_t>(nullptr)) return std::strtod(copy.c_str(), nullptr);
  return strtod_l(copy.c_str(), nullptr, cLocale);
}

namespace {

// Within each first letter in the order they are tried; the bracket is part
// of the name, so no name hides another.
constexpr std::array<FunctionName, 29> kFunctions{{
    {"abs(", Fn::kAbs, 1},
    {"asin(", Fn::kAsin, 1},
    {"acos(", Fn::kAcos, 1},
    {"atan(", Fn::kAtan, 1},
    {"besselj0(", Fn::kBesselJ0, 1},
    {"besselj1(", Fn::kBesselJ1, 1},
    {"besseljn(", Fn::kBesselJn, 2},
    {"bessely0(", Fn::kBesselY0, 1},
    {"bessely1(", Fn::kBesselY1, 1},
    {"besselyn(", Fn::kBesselYn, 2},
    {"beta(", Fn::kBeta, 2},
    {"cos(", Fn::kCos, 1},
    {"cosh(", Fn::kCosh, 1},
    {"exp(", Fn::kExp, 1},
    {"gamma(", Fn::kGamma, 1},
    {"int(", Fn::kInt, 1},
    {"ln(", Fn::kLn, 1},
    {"log(", Fn::kLog, 1},
    {"max(", Fn::kMax, 2},
    {"min(", Fn::kMin, 2},
    {"normal(", Fn::kNormal, 2},
    {"pow(", Fn::kPow, 2},
    {"sqrt(", Fn::kSqrt, 1},
    {"sin(", Fn::kSin, 1},
    {"sinh(", Fn::kSinh, 1},
    {"tan(", Fn::kTan, 1},
    {"tanh(", Fn::kTanh, 1},
    {"!(", Fn::kFactorial, 1},
    {"(", Fn::kBracket, 1},
}};

bool StartsWithNoCase(std::string_view text, std::string_view lowerName) {
  if (text.size() < lowerName.size()) return false;
  for (std::size_t i = 0; i < lowerName.size(); ++i)
    if (ToLower(text[i]) != lowerName[i]) return false;
  return true;
}

}  // namespace

const FunctionName* MatchFunction(std::string_view text) {
  if (text.empty()) return nullptr;
  const char first = ToLower(text.front());
  for (const FunctionName& f : kFunctions)
    if (f.text.front() == first && StartsWithNoCase(text, f.text)) return &f;
  return nullptr;
}

int MatchVariable(std::string_view text, std::span<const std::string> names) {
  int best = -1;
  std::size_t bestLength = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (name.empty() || name.size() <= bestLength) continue;
    if (text.substr(0, name.size()) == name) {
      best = static_cast<int>(i);
      bestLength = name.size();
    }
  }
  return best;
}

std::string_view FaultMessage(Fault fault) {
  switch (fault) {
    case Fault::kDivisionByZero: return kMsgDivisionByZero;
    case Fault::kFactorialNegative: return kMsgFactorialNegative;
    case Fault::kGammaDomain: return kMsgGamma;
    case Fault::kBetaDomain: return kMsgBeta;
    case Fault::kNone: break;
  }
  return {};
}

double FactorialValue(double x) {
  if (std::isnan(x)) return x;
  // 171! and beyond overflow: stop the product there instead of counting up
  // to an astronomically large n (the value is infinity either way).
  const double n = std::min(std::trunc(x), 171.0);
  double product = 1.0;
  for (double k = 2.0; k <= n; k += 1.0) product *= k;
  return product;
}

double GammaValue(double x) {
  // p(x) = k4 x^4 - k3 x^3 + k2 x^2 - k1 x + k0 on four intervals.
  auto quartic = [x](double k4, double k3, double k2, double k1, double k0) {
    return (((k4 * x - k3) * x + k2) * x - k1) * x + k0;
  };
  if (x <= 1.5) return quartic(0.8381886, 4.53889793, 9.69529949, 9.71633752, 4.72177274);
  if (x <= 3.0) return quartic(0.10313867, 0.76558711, 2.5305215, 3.81093902, 2.97423187);
  if (x <= 4.5)
    return quartic(1.05613222, 13.78206423, 69.64262748, 158.44821978, 137.1889627);
  if (x <= 6.0)
    return quartic(17.8848685, 346.24448872, 2540.77068329, 8345.27844238, 10333.60119629);
  // Stirling with the coefficients truncated as the users' results know them.
  // Once x^x overflows the value is infinite; without this test the product
  // would turn into infinity times 0 (NaN) when exp(-x) underflows.
  const double xx = std::pow(x, x);
  if (std::isinf(xx)) return xx;
  return std::sqrt(2.0 * kPi / x) * xx * std::exp(0.0833333 / x - 0.00277777 / (x * x * x) - x);
}

double BetaValue(double a, double b) { return GammaValue(a) * GammaValue(b) / GammaValue(a + b); }

double NormalValue(double x, double s) {
  return std::exp(-0.25 * x * x / (s * s)) / (s * std::sqrt(2.0 * kPi));
}

namespace {

// The order truncated to an integer, or nothing when it is NaN or too large.
bool BesselOrder(double n, int& order) {
  const double t = std::trunc(n);
  if (!(std::fabs(t) <= kMaxBesselOrder)) return false;
  order = static_cast<int>(t);
  return true;
}

}  // namespace

double BesselJnValue(double n, double x) {
  int order = 0;
  if (!BesselOrder(n, order)) return std::numeric_limits<double>::quiet_NaN();
  return ::jn(order, x);
}

double BesselYnValue(double n, double x) {
  int order = 0;
  if (!BesselOrder(n, order)) return std::numeric_limits<double>::quiet_NaN();
  return ::yn(order, x);
}

double ApplyFunction1(Fn fn, double x) {
  switch (fn) {
    case Fn::kAbs: return std::fabs(x);
    case Fn::kAsin: return std::asin(x);
    case Fn::kAcos: return std::acos(x);
    case Fn::kAtan: return std::atan(x);
    case Fn::kBesselJ0: return ::j0(x);
    case Fn::kBesselJ1: return ::j1(x);
    case Fn::kBesselY0: return ::y0(x);
    case Fn::kBesselY1: return ::y1(x);
    case Fn::kCos: return std::cos(x);
    case Fn::kCosh: return std::cosh(x);
    case Fn::kExp: return std::exp(x);
    case Fn::kGamma: return GammaValue(x);
    case Fn::kInt: return std::trunc(x);
    case Fn::kLn: return std::log(x);
    case Fn::kLog: return std::log10(x);
    case Fn::kSqrt: return std::sqrt(x);
    case Fn::kSin: return std::sin(x);
    case Fn::kSinh: return std::sinh(x);
    case Fn::kTan: return std::tan(x);
    case Fn::kTanh: return std::tanh(x);
    case Fn::kFactorial: return FactorialValue(x);
    case Fn::kBracket: return x;
    default: break;
  }
  return std::numeric_limits<double>::quiet_NaN();
}

double ApplyFunction2(Fn fn, double a, double b) {
  switch (fn) {
    case Fn::kBesselJn: return BesselJnValue(a, b);
    case Fn::kBesselYn: return BesselYnValue(a, b);
    case Fn::kBeta: return BetaValue(a, b);
    case Fn::kMax: return MaxValue(a, b);
    case Fn::kMin: return MinValue(a, b);
    case Fn::kNormal: return NormalValue(a, b);
    case Fn::kPow: return std::pow(a, b);
    default: break;
  }
  return std::numeric_limits<double>::quiet_NaN();
}

Fault CheckFunction1(Fn fn, double x) {
  if (fn == Fn::kFactorial && x < 0) return Fault::kFactorialNegative;
  if (fn == Fn::kGamma && x <= 1) return Fault::kGammaDomain;
  return Fault::kNone;
}

Fault CheckFunction2(Fn fn, double a, double b) {
  if (fn == Fn::kBeta && (a <= 1 || b <= 1)) return Fault::kBetaDomain;
  return Fault::kNone;
}

}  // namespace tracemont::formula
