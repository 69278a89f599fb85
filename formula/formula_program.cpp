#include "formula/formula_program.h"

#include <algorithm>
#include <cmath>
#include <math.h>

namespace tracemont::formula {

using Op = FormulaProgram::Op;

namespace {

// Thrown inside the compiler once the reader would stop: the rest of the
// text is never read.
struct CompileStop {};

// A value while compiling: a constant known now, or a frame slot whose value
// is known only when running, possibly still to be negated. Negation is kept
// pending because it passes exactly through products, quotients and
// remainders and turns a sum into a difference, which saves instructions.
struct Val {
  bool isConst = false;
  double value = 0.0;        // constant
  std::uint32_t slot = 0;    // not constant
  bool negated = false;      // not constant: the value is -frame[slot]
};

Val Constant(double v) {
  Val c;
  c.isConst = true;
  c.value = v;
  return c;
}

Op OpOf(Fn fn) {
  switch (fn) {
    case Fn::kAbs: return Op::kAbs;
    case Fn::kAsin: return Op::kAsin;
    case Fn::kAcos: return Op::kAcos;
    case Fn::kAtan: return Op::kAtan;
    case Fn::kBesselJ0: return Op::kBesselJ0;
    case Fn::kBesselJ1: return Op::kBesselJ1;
    case Fn::kBesselJn: return Op::kBesselJn;
    case Fn::kBesselY0: return Op::kBesselY0;
    case Fn::kBesselY1: return Op::kBesselY1;
    case Fn::kBesselYn: return Op::kBesselYn;
    case Fn::kBeta: return Op::kBeta;
    case Fn::kCos: return Op::kCos;
    case Fn::kCosh: return Op::kCosh;
    case Fn::kExp: return Op::kExp;
    case Fn::kGamma: return Op::kGamma;
    case Fn::kInt: return Op::kInt;
    case Fn::kLn: return Op::kLn;
    case Fn::kLog: return Op::kLog;
    case Fn::kMax: return Op::kMax;
    case Fn::kMin: return Op::kMin;
    case Fn::kNormal: return Op::kNormal;
    case Fn::kPow: return Op::kPow;
    case Fn::kSqrt: return Op::kSqrt;
    case Fn::kSin: return Op::kSin;
    case Fn::kSinh: return Op::kSinh;
    case Fn::kTan: return Op::kTan;
    case Fn::kTanh: return Op::kTanh;
    case Fn::kFactorial: return Op::kFactorial;
    case Fn::kBracket: break;
  }
  return Op::kFail;
}

}  // namespace

// Reads the text with the reader's rules and emits, in reading order, one
// instruction for every computation the reader would make.
class FormulaCompiler {
 public:
  FormulaCompiler(std::string_view text, std::span<const std::string> names)
      : text_(text), names_(names), nextSlot_(static_cast<std::uint32_t>(names.size())) {}

  FormulaProgram Run() {
    try {
      const Val result = Expression(0, text_.size());
      program_.result_ = Materialize(result);
    } catch (const CompileStop&) {
    }
    // Every instruction reads slot a, a failing one too: keep slot 0.
    program_.frameSize_ = std::max<std::uint32_t>(nextSlot_, 1);
    return std::move(program_);
  }

 private:
  // --- Reading, rule for rule as the reference reader. ---

  Val Expression(std::size_t pos, std::size_t end) {
    const bool negative = SignRun(pos, end);
    const Val value = TermBody(pos, end, negative);
    if (pos >= end) return value;
    if (IsSignChar(text_[pos])) {
      const Val rest = Expression(pos, end);
      return Add(value, rest);
    }
    Fail(UnexpectedSymbolMessage(text_[pos]));
  }

  bool SignRun(std::size_t& pos, std::size_t end) const {
    bool negative = false;
    for (; pos < end && IsSignChar(text_[pos]); ++pos)
      if (text_[pos] == '-') negative = !negative;
    return negative;
  }

  Val TermBody(std::size_t& pos, std::size_t end, bool negative) {
    Val value = Power(pos, end);
    if (negative) value = Negate(value);
    while (pos < end) {
      const char op = text_[pos];
      if (op != '*' && op != '/' && op != '%') break;
      ++pos;
      const bool negativeFactor = SignRun(pos, end);
      Val factor = Power(pos, end);
      if (negativeFactor) factor = Negate(factor);
      value = op == '*' ? Multiply(value, factor) : Divide(op, value, factor);
    }
    return value;
  }

  Val Power(std::size_t& pos, std::size_t end) {
    Val value = Operand(pos, end);
    while (pos < end && text_[pos] == '^') {
      ++pos;
      const bool negative = SignRun(pos, end);
      Val exponent = Operand(pos, end);
      if (negative) exponent = Negate(exponent);
      value = Function2(Fn::kPow, value, exponent);
    }
    return value;
  }

  Val Operand(std::size_t& pos, std::size_t end) {
    const std::string_view rest = text_.substr(pos, end - pos);
    if (const FunctionName* f = MatchFunction(rest)) return Call(*f, pos, end);
    if (!rest.empty() && (IsDigit(rest.front()) || rest.front() == '.')) {
      const std::size_t length = NumberLength(rest);
      pos += length;
      return Constant(NumberValue(rest.substr(0, length)));
    }
    if (const int v = MatchVariable(rest, names_); v >= 0) {
      pos += names_[static_cast<std::size_t>(v)].size();
      Val var;
      var.slot = static_cast<std::uint32_t>(v);
      return var;
    }
    if (rest.size() >= 2 && (rest[0] == 'p' || rest[0] == 'P') &&
        (rest[1] == 'i' || rest[1] == 'I') && (rest.size() == 2 || IsStopChar(rest[2]))) {
      pos += 2;
      return Constant(kPi);
    }
    if (!rest.empty() && rest[0] == 'e' && (rest.size() == 1 || IsStopChar(rest[1]))) {
      pos += 1;
      return Constant(kE);
    }
    std::size_t length = 0;
    while (length < rest.size() && !IsStopChar(rest[length])) ++length;
    if (length == 0) Fail(std::string(kMsgSyntax));
    Fail(BadSymbolMessage(rest.substr(0, length)));
  }

  Val Call(const FunctionName& f, std::size_t& pos, std::size_t end) {
    const std::size_t open = pos + f.text.size();
    std::size_t close = open;
    for (int depth = 1; close < end; ++close) {
      if (text_[close] == '(') ++depth;
      if (text_[close] == ')' && --depth == 0) break;
    }
    if (close >= end) Fail(std::string(kMsgBracketMissed));
    pos = close + 1;

    if (f.arity == 1) {
      const Val x = Expression(open, close);
      return f.fn == Fn::kBracket ? x : Function1(f.fn, x);
    }
    std::size_t comma = open;
    for (int depth = 0; comma < close; ++comma) {
      if (text_[comma] == '(') ++depth;
      if (text_[comma] == ')') --depth;
      if (text_[comma] == ',' && depth == 0) break;
    }
    if (comma >= close) Fail(std::string(kMsgCommaMissed));
    const Val a = Expression(open, comma);
    const Val b = Expression(comma + 1, close);
    return Function2(f.fn, a, b);
  }

  // --- Emitting. ---

  [[noreturn]] void Fail(std::string message) {
    program_.message_ = std::move(message);
    program_.code_.push_back({Op::kFail, 0, 0, static_cast<std::uint32_t>(Fault::kNone)});
    throw CompileStop{};
  }
  [[noreturn]] void Fail(Fault fault) {
    program_.code_.push_back({Op::kFail, 0, 0, static_cast<std::uint32_t>(fault)});
    throw CompileStop{};
  }

  std::uint32_t Emit(Op op, std::uint32_t a, std::uint32_t b = 0) {
    const std::uint32_t dst = nextSlot_++;
    program_.code_.push_back({op, dst, a, b});
    return dst;
  }

  // The slot holding the value, negated if still pending.
  std::uint32_t Materialize(const Val& v) {
    if (v.isConst) {
      const std::uint32_t slot = nextSlot_++;
      program_.constants_.emplace_back(slot, v.value);
      return slot;
    }
    return v.negated ? Emit(Op::kNeg, v.slot) : v.slot;
  }
  // The slot of the value without its pending negation.
  std::uint32_t Magnitude(const Val& v) { return v.isConst ? Materialize(v) : v.slot; }

  static Val Negate(Val v) {
    if (v.isConst)
      v.value = -v.value;
    else
      v.negated = !v.negated;
    return v;
  }

  static Val Slot(std::uint32_t slot, bool negated) {
    Val v;
    v.slot = slot;
    v.negated = negated;
    return v;
  }

  // a + b; a + (-y) is a - y, and (-x) + b is b - x, exactly.
  Val Add(const Val& a, const Val& b) {
    if (a.isConst && b.isConst) return Constant(a.value + b.value);
    const bool negA = !a.isConst && a.negated;
    const bool negB = !b.isConst && b.negated;
    if (!negA && !negB) return Slot(Emit(Op::kAdd, Materialize(a), Materialize(b)), false);
    if (!negA) return Slot(Emit(Op::kSub, Materialize(a), Magnitude(b)), false);
    if (!negB) return Slot(Emit(Op::kSub, Materialize(b), Magnitude(a)), false);
    // (-x) + (-y) is not -(x + y) when x + y is an exact zero: keep -x.
    return Slot(Emit(Op::kSub, Materialize(a), Magnitude(b)), false);
  }

  // Signs pass exactly through a product.
  Val Multiply(const Val& a, const Val& b) {
    if (a.isConst && b.isConst) return Constant(a.value * b.value);
    const bool negative = (!a.isConst && a.negated) != (!b.isConst && b.negated);
    return Slot(Emit(Op::kMul, Magnitude(a), Magnitude(b)), negative);
  }

  // "/" and "%": a divisor of exactly 0 fails where it is read. The sign of
  // a quotient follows both operands, that of a remainder the dividend only.
  Val Divide(char op, const Val& a, const Val& b) {
    if (b.isConst && b.value == 0.0) Fail(Fault::kDivisionByZero);
    if (a.isConst && b.isConst)
      return Constant(op == '/' ? a.value / b.value : std::fmod(a.value, b.value));
    const bool negA = !a.isConst && a.negated;
    const bool negB = !b.isConst && b.negated;
    if (op == '/') return Slot(Emit(Op::kDiv, Magnitude(a), Magnitude(b)), negA != negB);
    return Slot(Emit(Op::kMod, Magnitude(a), Magnitude(b)), negA);
  }

  Val Function1(Fn fn, const Val& x) {
    if (x.isConst) {
      const Fault fault = CheckFunction1(fn, x.value);
      if (fault != Fault::kNone) Fail(fault);
      return Constant(ApplyFunction1(fn, x.value));
    }
    return Slot(Emit(OpOf(fn), Materialize(x)), false);
  }

  Val Function2(Fn fn, const Val& a, const Val& b) {
    if (a.isConst && b.isConst) {
      const Fault fault = CheckFunction2(fn, a.value, b.value);
      if (fault != Fault::kNone) Fail(fault);
      return Constant(ApplyFunction2(fn, a.value, b.value));
    }
    const std::uint32_t sa = Materialize(a);
    const std::uint32_t sb = Materialize(b);
    return Slot(Emit(OpOf(fn), sa, sb), false);
  }

  std::string_view text_;
  std::span<const std::string> names_;
  std::uint32_t nextSlot_;
  FormulaProgram program_;
};

FormulaProgram FormulaProgram::Compile(std::string_view cleaned, std::span<const std::string> names) {
  return FormulaCompiler(cleaned, names).Run();
}

void FormulaProgram::PrepareFrame(std::vector<double>& frame) const {
  frame.assign(frameSize_, 0.0);
  for (const auto& [slot, value] : constants_) frame[slot] = value;
}

namespace {

const std::string& FaultText(Fault fault) {
  static const std::string kDivision(kMsgDivisionByZero);
  static const std::string kFactorial(kMsgFactorialNegative);
  static const std::string kGamma(kMsgGamma);
  static const std::string kBeta(kMsgBeta);
  switch (fault) {
    case Fault::kFactorialNegative: return kFactorial;
    case Fault::kGammaDomain: return kGamma;
    case Fault::kBetaDomain: return kBeta;
    default: break;
  }
  return kDivision;
}

}  // namespace

const std::string* FormulaProgram::Run(double* f, double& result) const {
  for (const Instr& in : code_) {
    const double x = f[in.a];
    switch (in.op) {
      case Op::kNeg: f[in.dst] = -x; break;
      case Op::kAdd: f[in.dst] = x + f[in.b]; break;
      case Op::kSub: f[in.dst] = x - f[in.b]; break;
      case Op::kMul: f[in.dst] = x * f[in.b]; break;
      case Op::kDiv: {
        const double d = f[in.b];
        if (d == 0.0) return &FaultText(Fault::kDivisionByZero);
        f[in.dst] = x / d;
        break;
      }
      case Op::kMod: {
        const double d = f[in.b];
        if (d == 0.0) return &FaultText(Fault::kDivisionByZero);
        f[in.dst] = std::fmod(x, d);
        break;
      }
      case Op::kPow: f[in.dst] = std::pow(x, f[in.b]); break;
      case Op::kAbs: f[in.dst] = std::fabs(x); break;
      case Op::kAsin: f[in.dst] = std::asin(x); break;
      case Op::kAcos: f[in.dst] = std::acos(x); break;
      case Op::kAtan: f[in.dst] = std::atan(x); break;
      case Op::kBesselJ0: f[in.dst] = ::j0(x); break;
      case Op::kBesselJ1: f[in.dst] = ::j1(x); break;
      case Op::kBesselY0: f[in.dst] = ::y0(x); break;
      case Op::kBesselY1: f[in.dst] = ::y1(x); break;
      case Op::kCos: f[in.dst] = std::cos(x); break;
      case Op::kCosh: f[in.dst] = std::cosh(x); break;
      case Op::kExp: f[in.dst] = std::exp(x); break;
      case Op::kInt: f[in.dst] = std::trunc(x); break;
      case Op::kLn: f[in.dst] = std::log(x); break;
      case Op::kLog: f[in.dst] = std::log10(x); break;
      case Op::kSqrt: f[in.dst] = std::sqrt(x); break;
      case Op::kSin: f[in.dst] = std::sin(x); break;
      case Op::kSinh: f[in.dst] = std::sinh(x); break;
      case Op::kTan: f[in.dst] = std::tan(x); break;
      case Op::kTanh: f[in.dst] = std::tanh(x); break;
      case Op::kFactorial:
        if (x < 0) return &FaultText(Fault::kFactorialNegative);
        f[in.dst] = FactorialValue(x);
        break;
      case Op::kGamma:
        if (x <= 1) return &FaultText(Fault::kGammaDomain);
        f[in.dst] = GammaValue(x);
        break;
      case Op::kBesselJn: f[in.dst] = BesselJnValue(x, f[in.b]); break;
      case Op::kBesselYn: f[in.dst] = BesselYnValue(x, f[in.b]); break;
      case Op::kBeta: {
        const double y = f[in.b];
        if (x <= 1 || y <= 1) return &FaultText(Fault::kBetaDomain);
        f[in.dst] = BetaValue(x, y);
        break;
      }
      case Op::kMax: f[in.dst] = MaxValue(x, f[in.b]); break;
      case Op::kMin: f[in.dst] = MinValue(x, f[in.b]); break;
      case Op::kNormal: f[in.dst] = NormalValue(x, f[in.b]); break;
      case Op::kFail: {
        const auto fault = static_cast<Fault>(in.b);
        return fault == Fault::kNone ? &message_ : &FaultText(fault);
      }
    }
  }
  result = f[result_];
  return nullptr;
}

}  // namespace tracemont::formula
