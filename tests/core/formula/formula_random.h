// Random formula texts for the differential test and the fuzz target's seed
// corpus: mostly well-formed expressions over every operator, function,
// constant and number form of the language, a share of them damaged by
// random edits. Deterministic for a seed on every platform (own generator,
// no standard distributions).
#pragma once

#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace tracemont::test {

class RandomFormula {
 public:
  explicit RandomFormula(std::uint64_t seed) : state_(seed) {}

  // A text as a user might type it (white space, "=", "x" included), its
  // names mostly taken from `names`.
  std::string Text(const std::vector<std::string>& names = {}) {
    names_ = &names;
    out_.clear();
    Expression(Chance(15) ? 3 : 2);
    if (Chance(30)) Damage(1 + Pick(3));
    if (Chance(5)) {
      out_ += " = ";
      Expression(1);
    }
    return out_;
  }

  // A value for a variable: ordinary numbers, zeros, extremes and non-finite
  // values.
  double Value() {
    static const double kValues[] = {0.0,  -0.0,   1.0,    -1.0,   2.0,   0.5,  -2.5,
                                     3.0,  1e-300, 1e300,  170.5,  -7.0,  4.0,  1.5,
                                     std::numeric_limits<double>::quiet_NaN(),
                                     std::numeric_limits<double>::infinity(),
                                     -std::numeric_limits<double>::infinity()};
    if (Chance(40)) return static_cast<double>(Pick(20001)) / 1000.0 - 10.0;
    return kValues[Pick(std::size(kValues))];
  }

  // splitmix64.
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
  bool Chance(int percent) { return static_cast<int>(Pick(100)) < percent; }

 private:
  void Signs() {
    if (Chance(70)) return;
    const std::size_t n = 1 + Pick(3);
    for (std::size_t i = 0; i < n; ++i) out_ += Chance(60) ? '-' : '+';
  }

  void Expression(int depth) {
    Signs();
    Term(depth);
    const std::size_t more = Chance(60) ? 0 : 1 + Pick(2);
    for (std::size_t i = 0; i < more; ++i) {
      out_ += Chance(50) ? '+' : '-';
      Signs();
      Term(depth);
    }
  }

  void Term(int depth) {
    Power(depth);
    const std::size_t more = Chance(60) ? 0 : 1 + Pick(2);
    for (std::size_t i = 0; i < more; ++i) {
      static const char kOps[] = {'*', '/', '%'};
      out_ += kOps[Pick(Chance(80) ? 2 : 3)];
      Signs();
      Power(depth);
    }
  }

  void Power(int depth) {
    Operand(depth);
    for (const int percent : {20, 5}) {
      if (!Chance(percent)) break;
      out_ += '^';
      Signs();
      Operand(depth);
    }
  }

  void Operand(int depth) {
    static const char* const kNumbers[] = {"0",   "1",    "2",    "3",   "7",   "0.5", ".5",
                                           "2.5", "10",   "1e3",  "1e-3", "2e", "2e+", "1E2",
                                           "3.",  "1e400", "1e-400", "170", "171", "0.0", "."};
    static const char* const kNames[] = {"u", "v", "a", "b", "c", "d", "x", "X", "w", "uv",
                                         "ab", "pi", "PI", "Pi", "e", "E", "sin", "x1"};
    static const char* const kUnary[] = {"abs", "asin", "acos", "atan", "besselj0", "besselj1",
                                         "bessely0", "bessely1", "cos", "cosh", "exp", "gamma",
                                         "int", "ln", "log", "sqrt", "sin", "sinh", "tan",
                                         "tanh", "!", ""};
    static const char* const kBinary[] = {"besseljn", "besselyn", "beta", "max",
                                          "min",      "normal",   "pow"};
    const std::size_t kind = depth <= 0 || Chance(65) ? Pick(2) : 2 + Pick(3);
    switch (kind) {
      case 0: out_ += kNumbers[Pick(std::size(kNumbers))]; return;
      case 1:
        if (!names_->empty() && Chance(75))
          out_ += (*names_)[Pick(names_->size())];
        else
          out_ += kNames[Pick(std::size(kNames))];
        return;
      case 2:
      case 3:
        Cased(kUnary[Pick(std::size(kUnary))]);
        out_ += '(';
        Expression(depth - 1);
        out_ += ')';
        return;
      default:
        Cased(kBinary[Pick(std::size(kBinary))]);
        out_ += '(';
        Expression(depth - 1);
        if (!Chance(5)) {
          out_ += ',';
          Expression(depth - 1);
        }
        if (Chance(3)) {
          out_ += ',';
          Expression(depth - 1);
        }
        out_ += ')';
        return;
    }
  }

  // Function names are matched without regard to case.
  void Cased(const char* name) {
    const bool mixed = Chance(10);
    for (const char* c = name; *c; ++c)
      out_ += mixed && Chance(50) && *c >= 'a' && *c <= 'z' ? static_cast<char>(*c - 'a' + 'A') : *c;
  }

  void Damage(std::size_t edits) {
    static const char kJunk[] = "()(),,!.eE#= $1u^*/%+-xX\t";
    for (std::size_t i = 0; i < edits; ++i) {
      const std::size_t at = Pick(out_.size() + 1);
      const char junk = kJunk[Pick(sizeof kJunk - 1)];
      switch (Pick(4)) {
        case 0: out_.insert(at, 1, junk); break;
        case 1:
          if (at < out_.size()) out_.erase(at, 1);
          break;
        case 2:
          if (at < out_.size()) out_[at] = junk;
          break;
        default:
          if (at < out_.size()) out_.insert(at, out_.substr(at, 1 + Pick(4)));
          break;
      }
    }
  }

  std::uint64_t state_;
  const std::vector<std::string>* names_ = nullptr;
  std::string out_;
};

}  // namespace tracemont::test
