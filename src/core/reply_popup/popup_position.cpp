#include "core/reply_popup/popup_position.h"

namespace tiqora {

std::optional<PopupPoint> popupPosition(unsigned edge, const PopupGeometry& g) {
    const int besideRight = g.desktopRight - g.width - 1;
    const int onBottom = g.desktopBottom - g.height;
    switch (static_cast<TaskbarEdge>(edge)) {
    case TaskbarEdge::Left:
    case TaskbarEdge::Top: return PopupPoint{besideRight, onBottom};
    case TaskbarEdge::Right: return PopupPoint{g.desktopRight - g.width - g.taskbarWidth, onBottom};
    case TaskbarEdge::Bottom: return PopupPoint{besideRight, onBottom - g.taskbarHeight};
    }
    return std::nullopt;
}

}  // namespace tiqora
