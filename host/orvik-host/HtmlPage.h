// The board preview as one self-contained HTML page: the SVG, a layer list
// with a check box per layer, zoom (wheel) and pan (drag), and an info panel
// for the object under the pointer. Inline CSS and script only; the page
// loads nothing.
#pragma once

#include <string>
#include <string_view>

#include "host/orvik-host/BoardScene.h"

namespace orvik::host {

// `title` (e.g. the imported file's name) is escaped. The script exposes
// window.orvikPreview for tests: layers(), setLayerVisible(number, on),
// viewBox(), info() and boardToClient(x, y) (mils to page pixels).
std::string BoardHtml(const BoardScene& scene, std::string_view title);

}  // namespace orvik::host
