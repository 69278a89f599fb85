// CFormulaCalc: the formula evaluator of the program. Formula functions,
// transformations of points and the non-linear fit all hand their texts to
// the one process-wide instance (Instance()); tests make their own.
//
// Every entry point cleans the caller's text in place (white space dropped,
// the text cut at the first "=", "x" read as "u"), saves the variables it
// sets, sets them, evaluates, and after a successful call puts the saved
// values back; after a failed evaluation the variables keep the values the
// call set. Entry points that check a text write the message of the first
// error into the caller's text and return false.
//
// Variables: an entry point sees exactly the variables it sets (the table
// below says which). Any other name, such as a parameter letter in a formula
// function, is a "Bad symbol", whatever earlier calls left in the shared
// table, so a formula means the same thing whatever ran before it.
//
// Not thread-safe: one evaluation at a time, on the user-interface thread.
//
//   entry point      variables set
//   CheckOnRange     u, v            Tabulate         u, v
//   CheckWithParams  a, b, c, d, u   CalcWithParams   a, b, c, d, u
//   CheckUV          u, v, a .. d    CalcUV           u, v, a .. d
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tracemont {

namespace formula {
class FormulaProgram;
}

class CFormulaCalc {
 public:
  // The parameters a, b, c, d.
  using Params = std::array<double, 4>;

  // Compiled: each cleaned text is compiled once (cached) and run per
  // evaluation. Reference: the text is read afresh at every evaluation.
  // Both give the same values and messages; the reference is kept for tests
  // and measurements.
  enum class Engine { kCompiled, kReference };

  // The evaluator shared by the whole program (created on first use).
  static CFormulaCalc& Instance();

  explicit CFormulaCalc(Engine engine = Engine::kCompiled);
  CFormulaCalc(const CFormulaCalc&) = delete;
  CFormulaCalc& operator=(const CFormulaCalc&) = delete;
  ~CFormulaCalc();

  // Evaluates the text at v = 0 and u = uMin + (uMax - uMin) * i / 3,
  // i = 0..3, discarding the values. False with the message in `text` on the
  // first error.
  bool CheckOnRange(std::string& text, double uMin, double uMax);

  // Evaluates once with a..d = params and u = r * 3.125e-5, r the next
  // value (0..32767) of the evaluator's pseudo-random source. False with the
  // message in `text` on error.
  bool CheckWithParams(std::string& text, const Params& params);

  // result = value at a..d = *params and u. False without a message (result
  // untouched) on error; a null `params` gives false at once.
  bool CalcWithParams(std::string& text, const Params* params, double u, double& result);

  // values[i] = value at v and u = uMin + (uMax - uMin) * i / n, i = 0..n.
  // A point that fails gets 0 and the call still succeeds. False (nothing
  // written) when n < 1, when `values` holds fewer than n + 1 doubles, or
  // when the text fails cleaning.
  bool Tabulate(std::string& text, double uMin, double uMax, std::span<double> values, int n,
                double v);

  // Evaluates once with u, v and a..d = params, discarding the value. False
  // with the message in `text` on error.
  bool CheckUV(std::string& text, double u, double v, const Params& params);

  // result = value at u, v and a..d = *params. False without a message
  // (result untouched) on error; a null `params` gives false at once.
  bool CalcUV(std::string& text, double u, double v, const Params* params, double& result);

  // The value the shared table holds for `name`; nothing when no entry
  // point has set that name yet.
  std::optional<double> Variable(std::string_view name) const;

  Engine GetEngine() const { return engine_; }
  void SetEngine(Engine engine) { engine_ = engine; }

  // Restarts the pseudo-random source of CheckWithParams (it starts at 1).
  void SeedRandom(std::uint32_t seed) { randomState_ = seed; }

  // Number of compiled texts kept (at most kCacheCapacity).
  std::size_t CachedPrograms() const { return cache_.size(); }
  static constexpr std::size_t kCacheCapacity = 256;

 private:
  class Session;
  friend class Session;
  // The variables one entry point sets, in frame order.
  struct Scope {
    std::vector<std::string> names;
    std::string key;  // names joined, for the cache key
  };
  static const Scope kScopeUV;
  static const Scope kScopeParams;
  static const Scope kScopeAll;

  std::shared_ptr<const formula::FormulaProgram> ProgramFor(const std::string& cleaned,
                                                            const Scope& scope);
  int NextRandom();

  Engine engine_;
  std::map<std::string, double, std::less<>> variables_;
  // Compiled texts by scope key and cleaned text. Values are read from the
  // frame at run time, so only the set of visible names enters the key.
  std::unordered_map<std::string, std::shared_ptr<const formula::FormulaProgram>> cache_;
  // The last text seen and its cleaned form: the fits and transformations
  // call with the same text point after point.
  std::string lastRaw_;
  std::string lastCleaned_;
  const Scope* lastScope_ = nullptr;
  std::shared_ptr<const formula::FormulaProgram> lastProgram_;
  std::vector<double> frame_;
  std::uint32_t randomState_ = 1;
};

}  // namespace tracemont
