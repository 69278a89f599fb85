#include "formula/formula_reader.h"

namespace tracemont::formula {
namespace {

[[noreturn]] void Raise(std::string message) { throw FormulaError{std::move(message)}; }
[[noreturn]] void Raise(std::string_view message) { throw FormulaError{std::string(message)}; }

// Reads the text of one evaluation. Every rule works on a substring given by
// a position and an end; nothing is remembered between evaluations.
class Reader {
 public:
  Reader(std::string_view text, std::span<const std::string> names, std::span<const double> values)
      : text_(text), names_(names), values_(values) {}

  // A run of signs, a term, then either the end or "+"/"-" starting the
  // rest, which is read as a new expression: sums nest to the right.
  double Expression(std::size_t pos, std::size_t end) {
    const bool negative = SignRun(pos, end);
    const double value = TermBody(pos, end, negative);
    if (pos >= end) return value;
    if (IsSignChar(text_[pos])) return value + Expression(pos, end);
    Raise(UnexpectedSymbolMessage(text_[pos]));
  }

 private:
  // Skips "+" and "-"; true when the run holds an odd number of "-".
  bool SignRun(std::size_t& pos, std::size_t end) const {
    bool negative = false;
    for (; pos < end && IsSignChar(text_[pos]); ++pos)
      if (text_[pos] == '-') negative = !negative;
    return negative;
  }

  // Signed powers joined by "*", "/" and "%", left to right.
  double TermBody(std::size_t& pos, std::size_t end, bool negative) {
    double value = Power(pos, end);
    if (negative) value = -value;
    while (pos < end) {
      const char op = text_[pos];
      if (op != '*' && op != '/' && op != '%') break;
      ++pos;
      const bool negativeFactor = SignRun(pos, end);
      double factor = Power(pos, end);
      if (negativeFactor) factor = -factor;
      if (op == '*') {
        value = value * factor;
        continue;
      }
      if (factor == 0.0) Raise(kMsgDivisionByZero);
      value = op == '/' ? value / factor : std::fmod(value, factor);
    }
    return value;
  }

  // Operands joined by "^", grouped to the left; each exponent has its own
  // sign run.
  double Power(std::size_t& pos, std::size_t end) {
    double value = Operand(pos, end);
    while (pos < end && text_[pos] == '^') {
      ++pos;
      const bool negative = SignRun(pos, end);
      double exponent = Operand(pos, end);
      if (negative) exponent = -exponent;
      value = std::pow(value, exponent);
    }
    return value;
  }

  double Operand(std::size_t& pos, std::size_t end) {
    const std::string_view rest = text_.substr(pos, end - pos);
    if (const FunctionName* f = MatchFunction(rest)) return Call(*f, pos, end);
    if (!rest.empty() && (IsDigit(rest.front()) || rest.front() == '.')) {
      const std::size_t length = NumberLength(rest);
      pos += length;
      return NumberValue(rest.substr(0, length));
    }
    if (const int v = MatchVariable(rest, names_); v >= 0) {
      pos += names_[static_cast<std::size_t>(v)].size();
      return values_[static_cast<std::size_t>(v)];
    }
    if (rest.size() >= 2 && (rest[0] == 'p' || rest[0] == 'P') &&
        (rest[1] == 'i' || rest[1] == 'I') && (rest.size() == 2 || IsStopChar(rest[2]))) {
      pos += 2;
      return kPi;
    }
    if (!rest.empty() && rest[0] == 'e' && (rest.size() == 1 || IsStopChar(rest[1]))) {
      pos += 1;
      return kE;
    }
    std::size_t length = 0;
    while (length < rest.size() && !IsStopChar(rest[length])) ++length;
    if (length == 0) Raise(kMsgSyntax);
    Raise(BadSymbolMessage(rest.substr(0, length)));
  }

  // A function, a bracket or "!(": the arguments lie between the name's
  // bracket and its matching ")".
  double Call(const FunctionName& f, std::size_t& pos, std::size_t end) {
    const std::size_t open = pos + f.text.size();
    std::size_t close = open;
    for (int depth = 1; close < end; ++close) {
      if (text_[close] == '(') ++depth;
      if (text_[close] == ')' && --depth == 0) break;
    }
    if (close >= end) Raise(kMsgBracketMissed);
    pos = close + 1;

    if (f.arity == 1) {
      const double x = Expression(open, close);
      const Fault fault = CheckFunction1(f.fn, x);
      if (fault != Fault::kNone) Raise(FaultMessage(fault));
      return ApplyFunction1(f.fn, x);
    }
    std::size_t comma = open;
    for (int depth = 0; comma < close; ++comma) {
      if (text_[comma] == '(') ++depth;
      if (text_[comma] == ')') --depth;
      if (text_[comma] == ',' && depth == 0) break;
    }
    if (comma >= close) Raise(kMsgCommaMissed);
    const double a = Expression(open, comma);
    const double b = Expression(comma + 1, close);
    const Fault fault = CheckFunction2(f.fn, a, b);
    if (fault != Fault::kNone) Raise(FaultMessage(fault));
    return ApplyFunction2(f.fn, a, b);
  }

  std::string_view text_;
  std::span<const std::string> names_;
  std::span<const double> values_;
};

}  // namespace

double ReadFormula(std::string_view cleaned, std::span<const std::string> names,
                   std::span<const double> values) {
  return Reader(cleaned, names, values).Expression(0, cleaned.size());
}

}  // namespace tracemont::formula
