#include "approx/plugin_method.h"

#include <algorithm>
#include <array>
#include <utility>

#include "model/text.h"

namespace tracemont {
namespace {

constexpr int kTextBuffer = 255;
constexpr int kMaxRecord = 1 << 20;

PluginBinder& Binder() {
  // Process-wide: libraries are bound by name at every use, for the whole
  // program.
  static PluginBinder binder;
  return binder;
}

// The library named in a stored block and where its record lies.
struct StoredPlugin {
  std::string fileName;
  std::size_t recordAt = 0;  // absolute index
  int recordSize = 0;
};

std::optional<StoredPlugin> ReadStored(const FuncParams& p) {
  const int n = StoredInt(p[2]);
  const int length = StoredInt(p[kFuncHeaderSize]);
  if (length <= 0 || length >= n) return std::nullopt;
  StoredPlugin stored;
  for (int i = 1; i < length; ++i)
    stored.fileName.push_back(
        static_cast<char>(StoredInt(p[kFuncHeaderSize + static_cast<std::size_t>(i)]) & 0xFF));
  stored.recordAt = kFuncHeaderSize + static_cast<std::size_t>(length);
  stored.recordSize = n - length;
  return stored;
}

std::string TextOf(const std::array<char, kTextBuffer>& buffer) {
  const auto end = std::find(buffer.begin(), buffer.end(), '\0');
  return std::string(buffer.begin(), end);
}

}  // namespace

PluginBinder SetPluginBinder(PluginBinder binder) {
  return std::exchange(Binder(), std::move(binder));
}

std::optional<PluginEntryPoints> BindPlugin(const std::string& fileName) {
  if (fileName.empty() || !Binder()) return std::nullopt;
  return Binder()(fileName);
}

int FitPlugin(FitTarget& target, const FitRange& range, const FitData& data,
              const std::string& fileName, std::span<const double> settings) {
  const auto library = BindPlugin(fileName);
  if (!library || !library->IsValid()) return target.StoreConstant();
  const int length = static_cast<int>(fileName.size()) + 1;
  const int recordSize = library->maxOfFactors();
  // A record beyond any sensible size is a broken library, not a fit.
  if (recordSize < 0 || recordSize > kMaxRecord) return target.StoreConstant();
  std::vector<double> buffer(static_cast<std::size_t>(length + recordSize + 4), 0.0);
  // The library gets its own copies: it may write into what it is given.
  std::vector<double> u = data.u;
  std::vector<double> v = data.v;
  std::vector<double> w = data.w;
  std::vector<double> params(settings.begin(), settings.end());
  const int result = library->prepare(range.umin, range.umax, range.vmin, range.vmax, u.data(),
                                      v.data(), w.data(), static_cast<int>(u.size()),
                                      params.data(), static_cast<int>(params.size()),
                                      buffer.data() + length, recordSize);
  if (result <= 0) return target.StoreConstant();
  buffer[0] = length;
  for (std::size_t i = 0; i < fileName.size(); ++i)
    buffer[1 + i] = static_cast<double>(static_cast<signed char>(fileName[i]));
  buffer[static_cast<std::size_t>(length + recordSize)] = 0.0;
  buffer.resize(static_cast<std::size_t>(length + recordSize) + 1);
  return target.StoreBlock(buffer);
}

double EvalPlugin(const FuncParams& p, double u) {
  const auto stored = ReadStored(p);
  if (!stored) return 0.0;
  const auto library = BindPlugin(stored->fileName);
  if (!library || !library->IsValid() || !library->calcInPoint) return 0.0;
  // A copy: the record is handed over read-only, whatever the library does.
  std::vector<double> record(p.begin() + static_cast<std::ptrdiff_t>(stored->recordAt),
                             p.begin() + static_cast<std::ptrdiff_t>(stored->recordAt) +
                                 stored->recordSize);
  return library->calcInPoint(u, record.data(), stored->recordSize);
}

int DescribePlugin(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const auto stored = ReadStored(p);
  if (mode == 0) {
    if (!stored) return 0;
    return AppendCoefficientRows(rows, 4, p.data() + stored->recordAt,
                                 static_cast<std::size_t>(std::max(0, stored->recordSize)));
  }
  std::string text = "test user";
  if (stored) {
    const auto library = BindPlugin(stored->fileName);
    if (library && library->IsValid() && library->functionString) {
      std::vector<double> record(p.begin() + static_cast<std::ptrdiff_t>(stored->recordAt),
                                 p.begin() + static_cast<std::ptrdiff_t>(stored->recordAt) +
                                     stored->recordSize);
      std::array<char, kTextBuffer> buffer{};
      library->functionString(record.data(), stored->recordSize, buffer.data(), kTextBuffer);
      buffer.back() = '\0';
      text = TextOf(buffer);
    }
  }
  rows.push_back(text);
  rows.push_back(FormatG(p[7]));
  return 2;
}

}  // namespace tracemont
