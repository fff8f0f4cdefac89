#include "search/LineDisconnect.h"

#include <algorithm>

#include "search/JoinLines.h"
#include "search/JoinModel.h"
#include "model/Constants.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

bool IsSegment(const Workspace& ws, int s) {
  return s >= 0 && s < static_cast<int>(ws.tables.line2.size()) &&
         s < static_cast<int>(ws.search.segment_marks.size());
}

// Whether segment j carries the line on from segment s.
bool ContinuesLine(const TwipRect& s, const TwipRect& j) {
  if (!(s.right() >= j.left && s.left <= j.right() && s.bottom() >= j.top && s.top <= j.bottom())) {
    return false;
  }
  if (s.left == j.left && s.right() == j.right()) return true;
  if (s.top == j.top && s.height == j.height) return true;
  bool lower_at_both_ends =
      (s.top < j.top && j.bottom() > s.bottom()) || (j.top < s.top && s.bottom() > j.bottom());
  return s.width != j.width && (s.left == j.left || s.right() == j.right()) && lower_at_both_ends;
}

}  // namespace

void TraceLineSegments(Workspace& ws, bool first, int s) {
  SearchState& st = ws.search;
  if (first) {
    st.end_tables_found = 0;
    st.last_end_table = 0;
  }
  if (st.end_tables_found >= 2 || !IsSegment(ws, s)) return;
  Control& seg = ws.tables.line2[s];
  seg.back_colour = kJoinLineSelectedColour;
  if (st.segment_marks[s] == 0) st.segment_marks[s] = 1;
  const TwipRect& r = seg.rect;
  // Only table windows in use end a line; a removed table's window keeps no joins.
  for (int w = kFirstTableSlot; w < ws.tables.SlotCount(); ++w) {
    if (!ws.tables.SlotInUse(w)) continue;
    const TwipRect& f = ws.tables.slots[w].frame.rect;
    const double centre = static_cast<double>(RoundHalfEven(f.top + f.height / 2));
    if (f.left < r.left && f.right() > r.right() && (r.top == centre || r.bottom() == centre)) {
      if (w != st.last_end_table) {
        st.segment_marks[s] = w;
        st.last_end_table = w;
        break;
      }
      seg.back_colour = kJoinLineColour;
      return;
    }
  }
  if (st.segment_marks[s] >= 4) ++st.end_tables_found;
  for (int j = 0; IsSegment(ws, j); ++j) {
    // Hidden segments belong to no drawn line.
    if (st.segment_marks[j] != 0 || !ws.tables.line2[j].visible) continue;
    if (ContinuesLine(r, ws.tables.line2[j].rect)) TraceLineSegments(ws, false, j);
  }
}

void DisconnectByLine(Workspace& ws, int segment) {
  SearchState& st = ws.search;
  st.segment_marks.assign(std::max<std::size_t>(ws.tables.line2.size(), kSegmentCount), 0);
  TraceLineSegments(ws, true, segment);
  if (ws.host.AskOkCancel(QStringLiteral("切断しますか ？"))) {
    int a = 0, b = 0, at = -1;
    for (int i = 0; IsSegment(ws, i); ++i) {
      if (st.segment_marks[i] > 1) {
        a = st.segment_marks[i];
        at = i;
        break;
      }
    }
    for (int i = at + 1; at >= 0 && IsSegment(ws, i); ++i) {
      if (st.segment_marks[i] > 1) {
        b = st.segment_marks[i];
        break;
      }
    }
    // Without both ends the line is not a whole join: nothing is removed.
    if (a != 0 && b != 0) {
      RemoveJoin(ws, b, a);
      RedrawJoinLines(ws);
    }
  }
  for (int i = 0; IsSegment(ws, i); ++i) {
    ws.tables.line2[i].back_colour = kJoinLineColour;
  }
  std::fill(st.segment_marks.begin(), st.segment_marks.end(), 0);
}

}  // namespace mivora
