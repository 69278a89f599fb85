#include "formula/formula_calc.h"

#include "formula/formula_program.h"
#include "formula/formula_reader.h"
#include "formula/formula_syntax.h"

namespace tracemont {

using formula::FormulaProgram;

const CFormulaCalc::Scope CFormulaCalc::kScopeUV{{"u", "v"}, "u,v"};
const CFormulaCalc::Scope CFormulaCalc::kScopeParams{{"a", "b", "c", "d", "u"}, "a,b,c,d,u"};
const CFormulaCalc::Scope CFormulaCalc::kScopeAll{{"u", "v", "a", "b", "c", "d"}, "u,v,a,b,c,d"};

// One entry point's use of the evaluator: cleans the text, finds its
// program, saves the variables of the scope and evaluates as often as the
// entry point needs.
class CFormulaCalc::Session {
 public:
  Session(CFormulaCalc& calc, const Scope& scope) : calc_(calc), scope_(scope) {}

  // Cleans `text` and writes the cleaned formula back into it; then saves
  // the scope's variables (inserting missing ones as 0). False, with
  // Message() set and `text` untouched, when cleaning fails.
  bool Open(std::string& text) {
    const bool repeated = calc_.lastScope_ == &scope_ && text == calc_.lastRaw_;
    if (!repeated) {
      formula::CleanResult cleaned = formula::CleanFormula(text);
      if (!cleaned.ok) {
        ownMessage_ = std::move(cleaned.text);
        message_ = &ownMessage_;
        return false;
      }
      calc_.lastRaw_ = text;
      calc_.lastCleaned_ = std::move(cleaned.text);
      calc_.lastScope_ = &scope_;
      calc_.lastProgram_.reset();
    }
    text = calc_.lastCleaned_;
    if (calc_.engine_ == Engine::kCompiled) {
      if (!calc_.lastProgram_) calc_.lastProgram_ = calc_.ProgramFor(calc_.lastCleaned_, scope_);
      program_ = calc_.lastProgram_;
      program_->PrepareFrame(calc_.frame_);
    } else {
      cleaned_ = calc_.lastCleaned_;
      values_.assign(scope_.names.size(), 0.0);
    }
    for (const std::string& name : scope_.names) {
      double& value = calc_.variables_.try_emplace(name, 0.0).first->second;
      variables_.push_back(&value);
      saved_.push_back(value);
    }
    return true;
  }

  // Sets the i-th variable of the scope.
  void Set(std::size_t i, double value) {
    *variables_[i] = value;
    if (program_)
      calc_.frame_[i] = value;
    else
      values_[i] = value;
  }

  // Evaluates with the variables as set; false with Message() on error.
  bool Evaluate(double& value) {
    if (program_) {
      message_ = program_->Run(calc_.frame_.data(), value);
      return message_ == nullptr;
    }
    try {
      value = formula::ReadFormula(cleaned_, scope_.names, values_);
      return true;
    } catch (const formula::FormulaError& e) {
      ownMessage_ = e.message;
      message_ = &ownMessage_;
      return false;
    }
  }

  void Restore() {
    for (std::size_t i = 0; i < variables_.size(); ++i) *variables_[i] = saved_[i];
  }

  const std::string& Message() const { return *message_; }

 private:
  CFormulaCalc& calc_;
  const Scope& scope_;
  std::shared_ptr<const FormulaProgram> program_;  // compiled engine
  std::string cleaned_;                            // reference engine
  std::vector<double> values_;                     // reference engine
  std::vector<double*> variables_;                 // entries of the shared table
  std::vector<double> saved_;
  const std::string* message_ = nullptr;
  std::string ownMessage_;
};

CFormulaCalc& CFormulaCalc::Instance() {
  static CFormulaCalc calc;
  return calc;
}

CFormulaCalc::CFormulaCalc(Engine engine) : engine_(engine) {}
CFormulaCalc::~CFormulaCalc() = default;

std::shared_ptr<const FormulaProgram> CFormulaCalc::ProgramFor(const std::string& cleaned,
                                                              const Scope& scope) {
  std::string key = scope.key;
  key += '\n';
  key += cleaned;
  if (const auto it = cache_.find(key); it != cache_.end()) return it->second;
  // A full cache is dropped whole: programs are cheap to compile again and
  // the texts in use come back at once.
  if (cache_.size() >= kCacheCapacity) cache_.clear();
  auto program = std::make_shared<const FormulaProgram>(FormulaProgram::Compile(cleaned, scope.names));
  cache_.emplace(std::move(key), program);
  return program;
}

int CFormulaCalc::NextRandom() {
  randomState_ = randomState_ * 214013u + 2531011u;
  return static_cast<int>((randomState_ >> 16) & 0x7FFFu);
}

std::optional<double> CFormulaCalc::Variable(std::string_view name) const {
  const auto it = variables_.find(name);
  if (it == variables_.end()) return std::nullopt;
  return it->second;
}

bool CFormulaCalc::CheckOnRange(std::string& text, double uMin, double uMax) {
  Session session(*this, kScopeUV);
  if (!session.Open(text)) {
    text = session.Message();
    return false;
  }
  session.Set(1, 0.0);
  for (int i = 0; i <= 3; ++i) {
    session.Set(0, uMin + (uMax - uMin) * i / 3);
    double value = 0.0;
    if (!session.Evaluate(value)) {
      text = session.Message();
      return false;
    }
  }
  session.Restore();
  return true;
}

bool CFormulaCalc::CheckWithParams(std::string& text, const Params& params) {
  Session session(*this, kScopeParams);
  if (!session.Open(text)) {
    text = session.Message();
    return false;
  }
  for (std::size_t i = 0; i < params.size(); ++i) session.Set(i, params[i]);
  session.Set(4, NextRandom() * 3.125e-5);
  double value = 0.0;
  if (!session.Evaluate(value)) {
    text = session.Message();
    return false;
  }
  session.Restore();
  return true;
}

bool CFormulaCalc::CalcWithParams(std::string& text, const Params* params, double u,
                                  double& result) {
  if (params == nullptr) return false;
  Session session(*this, kScopeParams);
  if (!session.Open(text)) return false;
  for (std::size_t i = 0; i < params->size(); ++i) session.Set(i, (*params)[i]);
  session.Set(4, u);
  double value = 0.0;
  if (!session.Evaluate(value)) return false;
  result = value;
  session.Restore();
  return true;
}

bool CFormulaCalc::Tabulate(std::string& text, double uMin, double uMax, std::span<double> values,
                            int n, double v) {
  if (n < 1 || values.size() < static_cast<std::size_t>(n) + 1) return false;
  Session session(*this, kScopeUV);
  if (!session.Open(text)) return false;
  session.Set(1, v);
  const double width = uMax - uMin;
  for (int i = 0; i <= n; ++i) {
    session.Set(0, uMin + width * i / n);
    double value = 0.0;
    values[static_cast<std::size_t>(i)] = session.Evaluate(value) ? value : 0.0;
  }
  session.Restore();
  return true;
}

bool CFormulaCalc::CheckUV(std::string& text, double u, double v, const Params& params) {
  Session session(*this, kScopeAll);
  if (!session.Open(text)) {
    text = session.Message();
    return false;
  }
  session.Set(0, u);
  session.Set(1, v);
  for (std::size_t i = 0; i < params.size(); ++i) session.Set(2 + i, params[i]);
  double value = 0.0;
  if (!session.Evaluate(value)) {
    text = session.Message();
    return false;
  }
  session.Restore();
  return true;
}

bool CFormulaCalc::CalcUV(std::string& text, double u, double v, const Params* params,
                          double& result) {
  if (params == nullptr) return false;
  Session session(*this, kScopeAll);
  if (!session.Open(text)) return false;
  session.Set(0, u);
  session.Set(1, v);
  for (std::size_t i = 0; i < params->size(); ++i) session.Set(2 + i, (*params)[i]);
  double value = 0.0;
  if (!session.Evaluate(value)) return false;
  result = value;
  session.Restore();
  return true;
}

}  // namespace tracemont
