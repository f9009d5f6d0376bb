// Rectangle arithmetic for visible regions: what of a window the windows above it leave.
#pragma once

#include <windef.h>

#include <vector>

namespace handset {

bool IsEmpty(const RECT& r);
RECT IntersectRects(const RECT& a, const RECT& b);
RECT UnionRects(const RECT& a, const RECT& b);
RECT Offset(RECT r, LONG dx, LONG dy);
// `region` (disjoint rectangles) without `cut`, still disjoint.
std::vector<RECT> Subtract(const std::vector<RECT>& region, const RECT& cut);
// The same into `out`, which keeps its storage.
void SubtractInto(const std::vector<RECT>& region, const RECT& cut, std::vector<RECT>& out);

}  // namespace handset
