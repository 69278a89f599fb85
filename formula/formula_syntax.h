// What the reference reader and the compiled form of the formula language
// share: the message texts, the cleaning of a typed text, the lexical rules
// (stop characters, numbers, function names, variable names) and the
// arithmetic of every function. Both forms call exactly these helpers, so a
// value computed by one is bit for bit the value computed by the other.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tracemont::formula {

// Messages shown to the user (exact texts).
inline constexpr std::string_view kMsgEmpty1 = "Empty string1";
inline constexpr std::string_view kMsgEmpty2 = "Empty string2";
inline constexpr std::string_view kMsgBrackets = "Brackets disballance";
inline constexpr std::string_view kMsgDivisionByZero = "Division by Zero";
inline constexpr std::string_view kMsgBracketMissed = "One bracket missed";
inline constexpr std::string_view kMsgCommaMissed = "In binary operator comma ',' missed";
inline constexpr std::string_view kMsgFactorialNegative = "Factorial: negative values";
inline constexpr std::string_view kMsgGamma = "Gamma: value <= 1";
inline constexpr std::string_view kMsgBeta = "Beta: value <= 1";
inline constexpr std::string_view kMsgSyntax = "Syntax error";
// A cleaned formula longer than kMaxFormulaLength is refused with this text
// rather than cut: a cut formula would silently compute something else.
inline constexpr std::string_view kMsgTooLong = "Formula longer than 5000 characters";

// Longest formula after cleaning; it also bounds the reader's recursion.
inline constexpr std::size_t kMaxFormulaLength = 5000;
// The quoted name in "Bad symbol '%s' in expression" shows at most this many
// characters, then "..." (a typed name is rarely longer; the message stays
// readable in a message box).
inline constexpr std::size_t kMaxQuotedSymbol = 40;
// Longest text the dialogs accept in one formula edit.
inline constexpr std::size_t kMaxEditedFormula = 255;

// "Unexpected symbol '%c'" for the character met.
std::string UnexpectedSymbolMessage(char c);
// "Bad symbol '%s' in expression" for the characters met (bounded, see above).
std::string BadSymbolMessage(std::string_view symbol);

// The first error of a reading: the message travels from where it arises to
// the entry point that called the reader.
struct FormulaError {
  std::string message;
};

struct CleanResult {
  bool ok = false;
  std::string text;  // the cleaned formula when ok, else the message
};

// Cleans a typed text: drops white space, keeps what stands before the first
// "=", checks the bracket counts and reads a lower-case "x" as "u" (except
// after "e" or "a", so "exp(" and "max(" survive). The text ends at its first
// NUL byte, as in a C buffer. Never throws.
CleanResult CleanFormula(std::string_view raw);

// + - * / ^ % , ) end an operand name, "pi" and "e".
constexpr bool IsStopChar(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^' || c == '%' || c == ',' ||
         c == ')';
}
constexpr bool IsSignChar(char c) { return c == '+' || c == '-'; }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number operand at the start of `text` (digits, ".", digits,
// then "e"/"E", an optional sign and digits: a dangling exponent belongs to
// the number). `text` must start with a digit or ".".
std::size_t NumberLength(std::string_view text);
// The value of a number operand as the C library reads it in the "C" locale
// (a lone "." is 0; overflow gives infinity).
double NumberValue(std::string_view number);

// Functions of the language. Each is written with its opening bracket.
enum class Fn : std::uint8_t {
  kAbs, kAsin, kAcos, kAtan, kBesselJ0, kBesselJ1, kBesselJn, kBesselY0, kBesselY1,
  kBesselYn, kBeta, kCos, kCosh, kExp, kGamma, kInt, kLn, kLog, kMax, kMin, kNormal,
  kPow, kSqrt, kSin, kSinh, kTan, kTanh, kFactorial, kBracket
};

struct FunctionName {
  std::string_view text;  // lower case, with the bracket: "sin("
  Fn fn;
  int arity;  // 1 or 2
};

// The function whose name (bracket included) starts `text`, compared without
// regard to case; nullptr when none does.
const FunctionName* MatchFunction(std::string_view text);

// Index of the longest name of `names` that starts `text` (byte exact, case
// sensitive); -1 when none does. Empty names never match.
int MatchVariable(std::string_view text, std::span<const std::string> names);

// Errors that depend on values and so arise only while computing.
enum class Fault : std::uint8_t {
  kNone,
  kDivisionByZero,
  kFactorialNegative,
  kGammaDomain,
  kBetaDomain,
};
std::string_view FaultMessage(Fault fault);

// --- Arithmetic. Pure functions; the checks above come first. ---

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kE = 2.718281828459045;

// Orders of besseljn/besselyn beyond this magnitude give NaN: the library's
// recurrences run through every order up to n, which takes seconds for an
// order in the millions and would freeze the program.
inline constexpr double kMaxBesselOrder = 100000.0;

// 1*2*...*trunc(x) (1 for x < 1); NaN for NaN. Needs x >= 0.
double FactorialValue(double x);
// The piecewise quartics and the truncated Stirling form. Needs x > 1 (NaN
// gives NaN).
double GammaValue(double x);
double BetaValue(double a, double b);
double NormalValue(double x, double s);
double BesselJnValue(double n, double x);
double BesselYnValue(double n, double x);
// The larger and the smaller argument; when they compare equal (or either
// is NaN) the first one.
inline double MaxValue(double a, double b) { return a < b ? b : a; }
inline double MinValue(double a, double b) { return b < a ? b : a; }

// Value of a one-argument and of a two-argument function. The errors that
// depend on the arguments are not raised here: CheckFunction1/2 come first.
double ApplyFunction1(Fn fn, double x);
double ApplyFunction2(Fn fn, double a, double b);
// The value-dependent error of a function call, if any.
Fault CheckFunction1(Fn fn, double x);
Fault CheckFunction2(Fn fn, double a, double b);

}  // namespace tracemont::formula
