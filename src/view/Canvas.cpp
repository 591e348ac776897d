#include "view/Canvas.h"

namespace wyk {

void Canvas::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * height, kBlack);
}

}  // namespace wyk
