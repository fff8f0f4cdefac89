#include "search/JoinLineLayout.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

namespace mivora {

namespace {

using I64 = std::int64_t;

// Half of an integer sum, a half going to the even neighbour.
I64 HalfEven(I64 sum) {
  I64 q = sum / 2;
  if (sum % 2 == 0) return q;
  // sum odd: q is truncated towards zero; the two neighbours are floor and floor + 1.
  I64 floor_q = sum < 0 ? q - 1 : q;
  return floor_q % 2 == 0 ? floor_q : floor_q + 1;
}

constexpr int kTop = 0, kBottom = 1, kLeft = 2, kRight = 3;


struct KeyedCorridor {
  int p, q, r, dir;
  Corridor c;
};

struct CorridorHash {
  std::size_t operator()(const Corridor& c) const {
    std::size_t h = std::hash<I64>()(c.x1);
    for (I64 v : {c.y1, c.x2, c.y2}) h = h * 1000003u ^ std::hash<I64>()(v);
    return h;
  }
};

struct Point {
  I64 x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct PointHash {
  std::size_t operator()(const Point& p) const {
    return std::hash<I64>()(p.x) * 1000003u ^ std::hash<I64>()(p.y);
  }
};

struct Edge {
  Point a, b;  // a is the first end
  bool used = false;  // an edge slot in use (the four stub slots may be empty)
  bool visited = false;
  bool Horizontal() const { return a.y == b.y; }
  Point Other(const Point& p) const { return p == a ? b : a; }
};

// The pool of drawn pieces and the rules for moving overlapping ones aside.
class SegmentPool {
 public:
  std::vector<LayoutSegment> segs;

  void DrawPiece(Point p1, Point p2, bool last) {
    const I64 u = static_cast<I64>(segs.size());
    if (p1.x == p2.x) {
      LayoutSegment s{p1.x - 25, std::min(p1.y, p2.y), kLineThickness,
                      std::max(p1.y, p2.y) - std::min(p1.y, p2.y), last};
      segs.push_back(s);
      for (I64 i = 0; i <= u - 2; ++i) {
        const LayoutSegment& x = segs[i];
        if (x.left == s.left && x.width == kLineThickness && Bottom(x) >= s.top &&
            x.top <= s.top + s.height) {
          MoveAside(i, -1, u, 0);
        }
      }
      return;
    }
    const I64 top = p1.y - 25;
    const I64 left = std::min(p1.x, p2.x) - 25;
    const I64 right = std::max(p1.x, p2.x) + 25;
    I64 piece = u;
    if (u > 0) {
      LayoutSegment& prev = segs[u - 1];
      if (prev.top == top && prev.height == kLineThickness &&
          (Right(prev) == left + 50 || prev.left == right - 50)) {
        const I64 l = std::min(prev.left, left);
        const I64 r = std::max(Right(prev), right);
        prev.left = l;
        prev.width = r - l;
        prev.last = prev.last || last;
        piece = u - 1;
      }
    }
    if (piece == u) segs.push_back({left, top, right - left, kLineThickness, last});
    const I64 counter = u;
    const LayoutSegment s = segs[piece];
    for (I64 i = 0; i <= counter - 2; ++i) {
      const LayoutSegment& x = segs[i];
      if (x.top == s.top && x.height == kLineThickness && Right(x) >= s.left &&
          x.left <= Right(s) && !(Right(x) == s.left + 50 && x.left == Right(s) - 50)) {
        MoveAside(i, -1, counter, 0);
      }
    }
  }

 private:
  static I64 Right(const LayoutSegment& s) { return s.left + s.width; }
  static I64 Bottom(const LayoutSegment& s) { return s.top + s.height; }
  bool IsNeighbour(I64 s, I64 x) const { return x == s - 1 || x == s + 1; }

  // Moves segment s aside (horizontal ones down, vertical ones right) because of segment k
  // (-1 for none), pulling the pieces joined to it along. u is the number of counted pieces.
  void MoveAside(I64 s, I64 k, I64 u, int depth) {
    // Cascades that would run on without end are cut off; each move shifts by 100.
    if (depth > 64) return;
    const I64 n = static_cast<I64>(segs.size());
    if (segs[s].height == kLineThickness && segs[s].width != kLineThickness) {
      for (I64 x = 1; x <= u - 2 && x < n; ++x) {
        if (x == s || x == k || segs[x].height != kLineThickness) continue;
        const LayoutSegment& S = segs[s];
        const LayoutSegment& X = segs[x];
        if (X.top == S.top + kLineShift && Right(X) > S.left + 50 && Right(S) > X.left + 50) {
          MoveAside(x, s, u, depth + 1);
        }
        if (segs[x].top == segs[s].top) {
          if (Right(segs[x]) == segs[s].left + 50) MoveAside(x, s, u, depth + 1);
          if (Right(segs[s]) == segs[x].left + 50) MoveAside(x, s, u, depth + 1);
        }
      }
      for (I64 x : {s - 1, s + 1}) {
        if (x < 0 || x >= n || segs[x].width != kLineThickness) continue;
        LayoutSegment& X = segs[x];
        const LayoutSegment& S = segs[s];
        if (X.left != S.left && Right(X) != Right(S)) continue;
        if (X.top == S.top + 25) {
          if (X.height > kLineShift) {
            X.top += kLineShift;
            X.height -= kLineShift;
          } else {
            const I64 old_bottom = Bottom(X);
            X.height = kLineShift - X.height;
            X.top = old_bottom;
          }
        }
        if (Bottom(X) == S.top + 25) X.height += kLineShift;
      }
      segs[s].top += kLineShift;
      return;
    }
    for (I64 x = 1; x <= u - 1 && x < n; ++x) {
      if (x == s || x == k || segs[x].width != kLineThickness) continue;
      const LayoutSegment& S = segs[s];
      const LayoutSegment& X = segs[x];
      if (!IsNeighbour(s, x) && S.left <= X.left && X.left <= S.left + kLineShift &&
          Bottom(X) >= S.top && Bottom(S) >= X.top) {
        MoveAside(x, s, u, depth + 1);
      }
      if (IsNeighbour(s, x) && segs[x].left == segs[s].left) {
        if (Bottom(segs[x]) == segs[s].top) MoveAside(x, s, u, depth + 1);
        if (Bottom(segs[s]) == segs[x].top) MoveAside(x, s, u, depth + 1);
      }
    }
    for (I64 x : {s - 1, s + 1}) {
      if (x < 0 || x >= n || segs[x].height != kLineThickness) continue;
      LayoutSegment& X = segs[x];
      const LayoutSegment& S = segs[s];
      if (X.top + 25 != S.top && X.top + 25 != Bottom(S)) continue;
      if (X.left == S.left) {
        if (X.width <= kLineShift) {
          const I64 old_right = Right(X);
          X.width = kLineShift - X.width;
          X.left = old_right;
        } else {
          X.left += kLineShift;
          X.width -= kLineShift;
        }
      }
      if (Right(X) == S.left + 50) X.width += kLineShift;
    }
    segs[s].left += kLineShift;
  }
};

// The route graph with its point index, and the walk of one join through it.
class RouteGraph {
 public:
  RouteGraph(const std::vector<LayoutWindow>& w, const std::vector<Corridor>& corridors)
      : w_(w), edges_(5) {
    std::vector<const Corridor*> horizontal, vertical;
    for (const Corridor& c : corridors) (c.y1 == c.y2 ? horizontal : vertical).push_back(&c);
    for (const Corridor& c : corridors) {
      const bool h = c.y1 == c.y2;
      std::vector<I64> cuts;
      for (const Corridor* o : h ? vertical : horizontal) {
        if (h && o->x1 >= c.x1 && o->x1 <= c.x2 && c.y1 >= o->y1 && c.y1 <= o->y2)
          cuts.push_back(o->x1);
        if (!h && o->y1 >= c.y1 && o->y1 <= c.y2 && c.x1 >= o->x1 && c.x1 <= o->x2)
          cuts.push_back(o->y1);
      }
      std::sort(cuts.begin(), cuts.end());
      cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
      for (std::size_t i = 1; i < cuts.size(); ++i) {
        Edge e;
        e.a = h ? Point{cuts[i - 1], c.y1} : Point{c.x1, cuts[i - 1]};
        e.b = h ? Point{cuts[i], c.y1} : Point{c.x1, cuts[i]};
        e.used = true;
        edges_.push_back(e);
      }
    }
  }

  // Routes one join and draws it into the pool; false when no route reaches the destination.
  bool Route(const LayoutJoin& j, SegmentPool& pool) {
    for (int i = 1; i <= 4; ++i) edges_[i] = Edge{};
    MakeStubs(j.from, j.from_x, 1);
    MakeStubs(j.to, j.to_x, 3);
    index_.clear();
    for (std::size_t i = 1; i < edges_.size(); ++i) {
      edges_[i].visited = false;
      if (!edges_[i].used) continue;
      index_[edges_[i].a].push_back(static_cast<int>(i));
      index_[edges_[i].b].push_back(static_cast<int>(i));
    }
    limit_ = (w_[kTop].right - w_[kTop].left) + (w_[kLeft].bottom - w_[kLeft].top);
    path_.clear();
    finish_ = 0;
    // The first candidates are the departure window's two stubs.
    std::vector<Chain> starts;
    for (int s : {1, 2}) {
      if (!edges_[s].used) continue;
      Chain c = Follow(edges_[s].a, s);
      if (c.score < limit_) starts.push_back(std::move(c));
    }
    std::stable_sort(starts.begin(), starts.end(),
                     [](const Chain& a, const Chain& b) { return a.score < b.score; });
    edges_[1].visited = edges_[2].visited = true;
    bool found = false;
    for (const Chain& c : starts) {
      path_.push_back(c);
      if (Explore(c.end, 0)) {
        found = true;
        break;
      }
      path_.pop_back();
    }
    if (!found) return false;
    for (const Chain& c : path_) {
      for (const auto& [from, to] : c.pieces) pool.DrawPiece(from, to, false);
    }
    pool.DrawPiece(edges_[finish_].b, edges_[finish_].a, true);
    return true;
  }

 private:
  struct Chain {
    std::vector<int> edges;
    std::vector<std::pair<Point, Point>> pieces;
    Point end;
    I64 score = 0;
  };

  I64 Centre(int s) const { return HalfEven(w_[s].top + w_[s].bottom); }

  // Whether a vertical run at x between y1 and y2 passes through a table window other than own.
  bool CrossesWindow(int own, I64 x, I64 y1, I64 y2) const {
    for (int t = 4; t < static_cast<int>(w_.size()); ++t) {
      const LayoutWindow& o = w_[t];
      if (t == own || !o.present) continue;
      if (o.left < x && x < o.right && o.bottom > std::min(y1, y2) && o.top < std::max(y1, y2))
        return true;
    }
    return false;
  }

  // The window's upper and lower stubs into slots first and first + 1.
  void MakeStubs(int s, I64 x, int first) {
    const LayoutWindow& win = w_[s];
    const Point centre{x, Centre(s)};
    for (int up = 1; up >= 0; --up) {
      int best = 0;
      for (std::size_t i = 5; i < edges_.size(); ++i) {
        const Edge& e = edges_[i];
        if (!e.Horizontal() || !(e.a.x < x && x <= e.b.x)) continue;
        const I64 y = e.a.y;
        if (up ? y < win.top : y > win.bottom) {
          if (best == 0 || (up ? y > edges_[best].a.y : y < edges_[best].a.y))
            best = static_cast<int>(i);
        }
      }
      if (best == 0) continue;
      const I64 y = edges_[best].a.y;
      if (CrossesWindow(s, x, centre.y, y)) continue;
      if (x < edges_[best].b.x) {
        Edge rest = edges_[best];
        rest.a = {x, y};
        edges_[best].b = {x, y};
        edges_.push_back(rest);
      }
      Edge stub;
      stub.a = centre;
      stub.b = {x, y};
      stub.used = true;
      edges_[first + (up ? 0 : 1)] = stub;
    }
  }

  int FinishingStub(const Point& p) const {
    for (int s : {3, 4})
      if (edges_[s].used && edges_[s].b == p) return s;
    return 0;
  }

  I64 Score(const Point& p) const {
    I64 best = -1;
    for (int s : {3, 4}) {
      if (!edges_[s].used) continue;
      const I64 d = std::abs(p.x - edges_[s].b.x) + std::abs(p.y - edges_[s].b.y);
      if (best < 0 || d < best) best = d;
    }
    return best < 0 ? limit_ : best;
  }

  // The chain that starts with edge e at point p and runs on while exactly one further edge
  // continues it.
  Chain Follow(Point p, int e) const {
    Chain c;
    int cur = e;
    for (;;) {
      const Point next = edges_[cur].Other(p);
      c.edges.push_back(cur);
      c.pieces.emplace_back(p, next);
      p = next;
      if (FinishingStub(p) != 0) break;
      int further = 0, count = 0;
      auto it = index_.find(p);
      if (it != index_.end()) {
        for (int o : it->second) {
          if (o == cur || o <= 4) continue;
          ++count;
          further = o;
        }
      }
      if (count != 1 || edges_[further].visited ||
          std::find(c.edges.begin(), c.edges.end(), further) != c.edges.end()) {
        break;
      }
      cur = further;
    }
    c.end = p;
    c.score = Score(p);
    return c;
  }

  // Greedy walk from p: the nearest candidate first, backing up to the next one at a dead end.
  bool Explore(const Point& p, int depth) {
    if (int s = FinishingStub(p); s != 0) {
      finish_ = s;
      return true;
    }
    if (depth > static_cast<int>(edges_.size())) return false;
    auto it = index_.find(p);
    if (it == index_.end()) return false;
    std::vector<Chain> cands;
    for (int e : std::vector<int>(it->second)) {
      if (e <= 4 || edges_[e].visited) continue;
      Chain c = Follow(p, e);
      if (c.score < limit_) cands.push_back(std::move(c));
    }
    std::stable_sort(cands.begin(), cands.end(),
                     [](const Chain& a, const Chain& b) { return a.score < b.score; });
    for (Chain& c : cands) {
      if (edges_[c.edges.front()].visited) continue;
      bool stale = false;
      for (int e : c.edges) stale = stale || edges_[e].visited;
      if (stale) c = Follow(p, c.edges.front());
      for (int e : c.edges) edges_[e].visited = true;
      path_.push_back(c);
      if (Explore(c.end, depth + 1)) return true;
      path_.pop_back();
    }
    return false;
  }

  const std::vector<LayoutWindow>& w_;
  std::vector<Edge> edges_;  // 0 unused, 1-4 the stubs of the current join
  std::unordered_map<Point, std::vector<int>, PointHash> index_;
  std::vector<Chain> path_;
  int finish_ = 0;
  I64 limit_ = 0;
};

}  // namespace

std::vector<Corridor> FindCorridors(const std::vector<LayoutWindow>& w) {
  const int n = static_cast<int>(w.size());
  std::vector<KeyedCorridor> found;
  if (n < 4) return {};
  auto in = [&](int s) { return s < 4 || w[s].present; };
  std::vector<int> order;
  // Vertical corridors: pairs (q left, r right) first, then the window p above.
  for (int q = 0; q < n; ++q) {
    if (q == kTop || q == kBottom || !in(q)) continue;
    for (int r = 0; r < n; ++r) {
      if (r == q || r == kTop || r == kBottom || !in(r)) continue;
      if (w[q].right + kLineMargin > w[r].left) continue;
      // Possible blockers by their top.
      order.clear();
      for (int b = 0; b < n; ++b)
        if (in(b) && w[b].right > w[q].right && w[b].left < w[r].left) order.push_back(b);
      std::stable_sort(order.begin(), order.end(),
                       [&](int a, int b) { return w[a].top < w[b].top; });
      for (int p = 0; p < n; ++p) {
        if (p == q || p == r || p == kBottom || p == kLeft || p == kRight || !in(p)) continue;
        const LayoutWindow &P = w[p], &Q = w[q], &R = w[r];
        if (P.bottom > Q.top || P.bottom > R.top) continue;
        if (Q.right + kLineMargin < P.left || P.right + kLineMargin < R.left) continue;
        I64 end = w[kBottom].bottom;
        auto it = std::upper_bound(order.begin(), order.end(), P.bottom,
                                   [&](I64 v, int b) { return v < w[b].top; });
        while (it != order.end() && (*it == p || *it == q || *it == r)) ++it;
        if (it != order.end()) {
          const LayoutWindow& B = w[*it];
          if (!(B.top > Q.top && B.top > R.top && Q.right + kLineMargin >= B.left &&
                B.right + kLineMargin >= R.left)) {
            continue;
          }
          end = B.top;
        }
        found.push_back({p, q, r, 0, {HalfEven(Q.right + R.left), P.bottom,
                                      HalfEven(Q.right + R.left), end}});
      }
    }
  }
  // Horizontal corridors: pairs (r above, q below) first, then the window p on the left.
  for (int r = 0; r < n; ++r) {
    if (r == kLeft || r == kRight || !in(r)) continue;
    for (int q = 0; q < n; ++q) {
      if (q == r || q == kLeft || q == kRight || !in(q)) continue;
      if (w[r].bottom + kLineMargin > w[q].top) continue;
      order.clear();
      for (int b = 0; b < n; ++b)
        if (in(b) && w[b].bottom > w[r].bottom && w[b].top < w[q].top) order.push_back(b);
      std::stable_sort(order.begin(), order.end(),
                       [&](int a, int b) { return w[a].left < w[b].left; });
      for (int p = 0; p < n; ++p) {
        if (p == q || p == r || p == kTop || p == kBottom || p == kRight || !in(p)) continue;
        const LayoutWindow &P = w[p], &Q = w[q], &R = w[r];
        if (P.right > Q.left || P.right > R.left) continue;
        if (R.bottom + kLineMargin < P.top || P.bottom + kLineMargin < Q.top) continue;
        I64 end = w[kRight].right;
        auto it = std::upper_bound(order.begin(), order.end(), P.right,
                                   [&](I64 v, int b) { return v < w[b].left; });
        while (it != order.end() && (*it == p || *it == q || *it == r)) ++it;
        if (it != order.end()) {
          const LayoutWindow& B = w[*it];
          if (!(B.bottom + kLineMargin >= Q.top && R.bottom + kLineMargin >= B.top &&
                B.left > Q.left && B.left > R.left)) {
            continue;
          }
          end = B.left;
        }
        found.push_back({p, q, r, 1, {P.right, HalfEven(R.bottom + Q.top), end,
                                      HalfEven(R.bottom + Q.top)}});
      }
    }
  }
  std::stable_sort(found.begin(), found.end(), [](const KeyedCorridor& a, const KeyedCorridor& b) {
    return std::array{a.p, a.q, a.r, a.dir} < std::array{b.p, b.q, b.r, b.dir};
  });
  std::vector<Corridor> out;
  std::unordered_set<Corridor, CorridorHash> seen;
  for (const KeyedCorridor& k : found)
    if (seen.insert(k.c).second) out.push_back(k.c);
  return out;
}

JoinLineLayout LayOutJoinLines(const std::vector<LayoutWindow>& windows,
                               const std::vector<LayoutJoin>& joins) {
  JoinLineLayout out;
  if (windows.size() < 4) {
    out.routed.assign(joins.size(), false);
    return out;
  }
  RouteGraph graph(windows, FindCorridors(windows));
  SegmentPool pool;
  for (const LayoutJoin& j : joins) {
    const bool ok = j.from < static_cast<int>(windows.size()) &&
                    j.to < static_cast<int>(windows.size()) && windows[j.from].present &&
                    windows[j.to].present && graph.Route(j, pool);
    out.routed.push_back(ok);
  }
  out.segments = std::move(pool.segs);
  return out;
}

}  // namespace mivora
