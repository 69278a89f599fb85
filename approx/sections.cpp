#include "approx/sections.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "approx/fourier.h"
#include "model/text.h"

namespace tracemont {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

struct Segment {
  double u0, v0, u1, v1;
};

struct Cell {
  int votes = 0;
  double umin = 0, umax = 0, vmin = 0, vmax = 0;
};

// Squared distance from (pu, pv) to the segment, all in normalised units:
// the nearer end point, or the foot of the perpendicular when it falls
// strictly between the ends.
double SquaredDistance(double pu, double pv, const Segment& s) {
  const double du = s.u1 - s.u0;
  const double dv = s.v1 - s.v0;
  const double to0 = (pu - s.u0) * (pu - s.u0) + (pv - s.v0) * (pv - s.v0);
  const double length2 = du * du + dv * dv;
  if (length2 == 0.0) return to0;
  const double to1 = (pu - s.u1) * (pu - s.u1) + (pv - s.v1) * (pv - s.v1);
  double best = std::min(to0, to1);
  const double tau = ((pu - s.u0) * du + (pv - s.v0) * dv) / length2;
  const double fu = s.u0 + tau * du;
  const double fv = s.v0 + tau * dv;
  const bool between = s.u0 != s.u1
                           ? std::min(s.u0, s.u1) < fu && fu < std::max(s.u0, s.u1)
                           : std::min(s.v0, s.v1) < fv && fv < std::max(s.v0, s.v1);
  if (between) {
    const double foot = (pu - fu) * (pu - fu) + (pv - fv) * (pv - fv);
    best = std::min(best, foot);
  }
  return best;
}

class SectionSearch {
 public:
  SectionSearch(const FitRange& range, const FitData& data, int nodes)
      : range_(range), data_(data), k_(std::clamp(nodes, 10, 100)), t_(std::max(60, k_)),
        limit_(std::max<std::size_t>(static_cast<std::size_t>(k_), data.Size())),
        minVotes_(std::max(3, static_cast<int>(data.Size() / static_cast<std::size_t>(k_)) + 1)),
        radius_(2.0 / k_), cells_(static_cast<std::size_t>(k_ * t_)),
        marked_(data.Size(), false) {
    const double step = kFivePlacePi / t_;
    // Angle bin t holds (t + 1) * step; its cosine and sine serve every point.
    for (int t = 0; t < t_; ++t) {
      const double theta = (t + 1) * step;
      cos_.push_back(std::cos(theta));
      sin_.push_back(std::sin(theta));
    }
  }

  std::vector<Segment> Run(SectionSearchStats* stats) {
    const auto start = Clock::now();
    std::size_t remaining = data_.Size();
    int previousMax = static_cast<int>(data_.Size());
    int passes = 0;
    while (passes < 10 && (passes == 0 || remaining >= 3) && previousMax > minVotes_) {
      const auto voting = Clock::now();
      previousMax = Vote();
      if (stats) stats->votingSeconds += Seconds(voting);
      ++passes;
      for (const std::size_t c : TakenCells()) {
        const Segment s = SegmentOf(c);
        if (NearFound(s)) continue;
        found_.push_back(s);
        remaining = Mark(s);
        if (found_.size() >= limit_) break;
      }
      if (found_.size() >= limit_) break;
    }
    if (stats) {
      stats->passes = passes;
      stats->totalSeconds = Seconds(start);
    }
    return found_;
  }

 private:
  double NormU(double u) const { return (u - range_.umin) / (range_.umax - range_.umin); }
  double NormV(double v) const { return (v - range_.vmin) / (range_.vmax - range_.vmin); }
  Segment Normalised(const Segment& s) const {
    return {NormU(s.u0), NormV(s.v0), NormU(s.u1), NormV(s.v1)};
  }
  bool Near(double u, double v, const Segment& normalised) const {
    return SquaredDistance(NormU(u), NormV(v), normalised) < radius_ * radius_;
  }

  // Fills the accumulator with the unmarked points; returns the largest count.
  int Vote() {
    std::fill(cells_.begin(), cells_.end(), Cell{});
    const double binWidth = 1.5 / k_;
    for (std::size_t i = 0; i < data_.Size(); ++i) {
      if (marked_[i]) continue;
      const double u = data_.u[i];
      const double v = data_.v[i];
      const double x = NormU(u) - 0.5;
      const double y = NormV(v) - 0.5;
      for (int t = 0; t < t_; ++t) {
        const double rho = x * cos_[static_cast<std::size_t>(t)] + y * sin_[static_cast<std::size_t>(t)];
        const double bin = (rho + 1.5) * 0.5 / binWidth;
        if (!(bin >= 0.0 && bin < k_)) continue;
        Cell& cell = cells_[static_cast<std::size_t>(static_cast<int>(bin) * t_ + t)];
        if (cell.votes++ == 0) {
          cell.umin = cell.umax = u;
          cell.vmin = cell.vmax = v;
        } else {
          cell.umin = std::min(cell.umin, u);
          cell.umax = std::max(cell.umax, u);
          cell.vmin = std::min(cell.vmin, v);
          cell.vmax = std::max(cell.vmax, v);
        }
      }
    }
    int best = 0;
    for (const Cell& cell : cells_) best = std::max(best, cell.votes);
    return best;
  }

  // The cells that become segments this pass, most voted first.
  std::vector<std::size_t> TakenCells() const {
    std::vector<std::size_t> candidates;
    int runningMax = 0;
    for (std::size_t c = 0; c < cells_.size(); ++c) {
      const int votes = cells_[c].votes;
      if (votes == 0) continue;
      runningMax = std::max(runningMax, votes);
      if (votes >= minVotes_ && votes > runningMax - 3) candidates.push_back(c);
    }
    std::stable_sort(candidates.begin(), candidates.end(), [&](std::size_t a, std::size_t b) {
      return cells_[a].votes < cells_[b].votes;
    });
    std::vector<std::size_t> taken;
    for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
      if (!taken.empty() && cells_[*it].votes != cells_[taken.back()].votes) break;
      taken.push_back(*it);
    }
    return taken;
  }

  Segment SegmentOf(std::size_t c) const {
    const Cell& cell = cells_[c];
    const std::size_t t = c % static_cast<std::size_t>(t_);
    const bool descending = cos_[t] * sin_[t] > 0;
    return {cell.umin, descending ? cell.vmax : cell.vmin, cell.umax,
            descending ? cell.vmin : cell.vmax};
  }

  bool NearFound(const Segment& s) const {
    const Segment normalised = Normalised(s);
    return std::any_of(found_.begin(), found_.end(), [&](const Segment& f) {
      return Near(f.u0, f.v0, normalised) && Near(f.u1, f.v1, normalised);
    });
  }

  // Marks the unmarked points near the segment; returns how many stay unmarked.
  std::size_t Mark(const Segment& s) {
    const Segment normalised = Normalised(s);
    std::size_t unmarked = 0;
    for (std::size_t i = 0; i < data_.Size(); ++i) {
      if (marked_[i]) continue;
      if (Near(data_.u[i], data_.v[i], normalised))
        marked_[i] = true;
      else
        ++unmarked;
    }
    return unmarked;
  }

  const FitRange& range_;
  const FitData& data_;
  const int k_;
  const int t_;
  const std::size_t limit_;
  const int minVotes_;
  const double radius_;
  std::vector<double> cos_;
  std::vector<double> sin_;
  std::vector<Cell> cells_;  // distance bin major, angle bin minor
  std::vector<bool> marked_;
  std::vector<Segment> found_;
};

}  // namespace

int FitSections(FitTarget& target, const FitRange& range, const FitData& data,
                SectionSearchStats* stats) {
  if (data.Size() < 2 || !(range.umax > range.umin) || !(range.vmax > range.vmin))
    return target.StoreConstant();
  SectionSearch search(range, data, target.N());
  const std::vector<Segment> sections = search.Run(stats);
  std::vector<double> block;
  block.reserve(4 * sections.size() + 1);
  for (const Segment& s : sections) block.insert(block.end(), {s.u0, s.v0, s.u1, s.v1});
  block.push_back(0.0);
  return target.StoreBlock(block);
}

int DescribeSections(const FuncParams& p, std::vector<std::string>& rows, int mode) {
  const int k = std::max(StoredInt(p[2]) / 4, 0);
  if (mode != 0) {
    rows.push_back(StrFormat(LoadStr(41694).c_str(), k));
    rows.push_back("-");
    return 2;
  }
  for (std::size_t i = 0; i < 4 * static_cast<std::size_t>(k); ++i)
    rows.push_back(FormatG(p[kFuncHeaderSize + i]));
  return static_cast<int>(rows.size());
}

int SampleSections(const FuncParams& p, std::vector<DotValue>& curve, int samples) {
  if (samples < 0) return 0;
  const int k = std::max(StoredInt(p[2]) / 4, 0);
  const bool reversed = DirectionOf(p) == 1;
  const double intervals = static_cast<double>(samples) + 1;
  for (int i = 0; i < k; ++i) {
    const double* c = p.data() + kFuncHeaderSize + 4 * static_cast<std::size_t>(i);
    for (int j = 0; j <= samples + 1; ++j) {
      const double u = ((intervals - j) * c[0] + j * c[2]) / intervals;
      const double v = ((intervals - j) * c[1] + j * c[3]) / intervals;
      curve.push_back(reversed ? DotValue(v, u, 0.0) : DotValue(u, v, 0.0));
    }
  }
  return static_cast<int>(curve.size());
}

std::vector<std::pair<std::size_t, std::size_t>> SectionPieces(const FuncParams& p,
                                                               std::size_t points) {
  if (points == 0) return {};
  const int k = IsValidParams(p) ? std::max(StoredInt(p[2]) / 4, 0) : 0;
  if (k == 0 || points % static_cast<std::size_t>(k) != 0) return {{0, points}};
  const std::size_t each = points / static_cast<std::size_t>(k);
  std::vector<std::pair<std::size_t, std::size_t>> pieces;
  for (std::size_t i = 0; i < static_cast<std::size_t>(k); ++i) pieces.emplace_back(i * each, each);
  return pieces;
}

}  // namespace tracemont
