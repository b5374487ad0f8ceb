#include "hosts/qt/caption_room.h"

#include <algorithm>

namespace zav::qt {

namespace {

// A group box's bottom frame line and the room above it (dialog units).
constexpr int kGroupFrameBottom = 3;

int Right(const DialogRect& rect) {
  return rect.x + rect.width;
}

int Bottom(const DialogRect& rect) {
  return rect.y + rect.height;
}

bool SharesWidth(const DialogRect& a, const DialogRect& b) {
  return a.x < Right(b) && b.x < Right(a);
}

bool Encloses(const DialogRect& outer, const DialogRect& inner) {
  return outer.x <= inner.x && outer.y <= inner.y && Right(outer) >= Right(inner) &&
         Bottom(outer) >= Bottom(inner);
}

}  // namespace

int RoomBelow(std::span<const ControlTemplate> controls, const ControlTemplate& label,
              int dialogHeight) {
  const DialogRect& box = label.rect;
  int limit = dialogHeight;  // the lowest y (dialog units) the text may reach
  for (const ControlTemplate& other : controls) {
    if (other.id == label.id || !SharesWidth(other.rect, box)) {
      continue;
    }
    if (other.kind == ControlKind::GroupBox && Encloses(other.rect, box)) {
      limit = std::min(limit, Bottom(other.rect) - kGroupFrameBottom);
    } else if (other.rect.y >= Bottom(box)) {
      limit = std::min(limit, other.rect.y);
    }
  }
  return std::max(box.height, limit - box.y);
}

}  // namespace zav::qt
