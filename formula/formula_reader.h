// The reference reader: computes a cleaned formula by reading its text from
// the start at every evaluation (recursive descent over substrings). It is
// the definition of the language's values and messages; the compiled form
// (formula_program.h) must agree with it bit for bit.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "formula/formula_syntax.h"

namespace tracemont::formula {

// Value of `cleaned` (the output of CleanFormula) with the variables `names`
// holding `values` (same length). Names are matched by longest prefix; any
// other name is a bad symbol. Throws FormulaError with the first error met in
// reading order.
double ReadFormula(std::string_view cleaned, std::span<const std::string> names,
                   std::span<const double> values);

}  // namespace tracemont::formula
