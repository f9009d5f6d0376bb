// Disjoint rectangle lists.
#include "platform/window/regions.h"

#include <algorithm>

namespace handset {

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

RECT IntersectRects(const RECT& a, const RECT& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

RECT UnionRects(const RECT& a, const RECT& b) {
  if (IsEmpty(a)) {
    return b;
  }
  if (IsEmpty(b)) {
    return a;
  }
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

RECT Offset(RECT r, LONG dx, LONG dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

std::vector<RECT> Subtract(const std::vector<RECT>& region, const RECT& cut) {
  std::vector<RECT> out;
  SubtractInto(region, cut, out);
  return out;
}

void SubtractInto(const std::vector<RECT>& region, const RECT& cut, std::vector<RECT>& out) {
  out.clear();
  for (const RECT& r : region) {
    const RECT overlap = IntersectRects(r, cut);
    if (IsEmpty(overlap)) {
      out.push_back(r);
      continue;
    }
    // Up to four pieces: the bands above and below the cut, and its sides between them.
    const RECT pieces[] = {{r.left, r.top, r.right, overlap.top},
                           {r.left, overlap.bottom, r.right, r.bottom},
                           {r.left, overlap.top, overlap.left, overlap.bottom},
                           {overlap.right, overlap.top, r.right, overlap.bottom}};
    for (const RECT& piece : pieces) {
      if (!IsEmpty(piece)) {
        out.push_back(piece);
      }
    }
  }
}

}  // namespace handset
