// The compiled form of a cleaned formula: the text is read once into a flat
// list of instructions over a frame of doubles (variables, constants,
// intermediate values), which is then run at every evaluation.
//
// It computes exactly what the reference reader (formula_reader.h) computes:
// the same library calls on the same operands in the same order, so values
// agree bit for bit (NaN payloads aside, which the language does not fix),
// and the first error is the same one. Errors the reader raises while
// reading (a bad symbol, a missing comma) become a final "fail" instruction
// placed where the reader meets them, so errors that arise while computing
// what stands before them (a division by zero) still come first.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formula/formula_syntax.h"

namespace tracemont::formula {

class FormulaProgram {
 public:
  // Compiles `cleaned` (the output of CleanFormula) for the variables
  // `names`, which take frame slots 0 .. names.size() - 1 in that order.
  // Never throws on any text; an erroneous text compiles to a program that
  // fails with the reader's message.
  static FormulaProgram Compile(std::string_view cleaned, std::span<const std::string> names);

  // Number of doubles a frame holds.
  std::size_t FrameSize() const { return frameSize_; }
  // Sizes `frame` and loads the constants; the variables are then written to
  // frame[0 .. variable count - 1] before each Run.
  void PrepareFrame(std::vector<double>& frame) const;

  // Evaluates with the variables in `frame` (prepared by PrepareFrame).
  // Returns nullptr and sets `result` on success; otherwise returns the
  // message (owned by the program or static) and leaves `result` untouched.
  const std::string* Run(double* frame, double& result) const;

  // Instruction count (for tests of the optimisations).
  std::size_t Size() const { return code_.size(); }

  enum class Op : std::uint8_t {
    kNeg, kAdd, kSub, kMul, kDiv, kMod, kPow,
    kAbs, kAsin, kAcos, kAtan, kBesselJ0, kBesselJ1, kBesselY0, kBesselY1, kCos, kCosh,
    kExp, kInt, kLn, kLog, kSqrt, kSin, kSinh, kTan, kTanh, kFactorial, kGamma,
    kBesselJn, kBesselYn, kBeta, kMax, kMin, kNormal,
    kFail,  // b: the Fault, or Fault::kNone for the program's own message
  };
  struct Instr {
    Op op;
    std::uint32_t dst;
    std::uint32_t a;
    std::uint32_t b;
  };

 private:
  friend class FormulaCompiler;

  std::vector<Instr> code_;
  std::vector<std::pair<std::uint32_t, double>> constants_;  // slot, value
  std::size_t frameSize_ = 0;
  std::uint32_t result_ = 0;
  std::string message_;  // of a reading error
};

}  // namespace tracemont::formula
