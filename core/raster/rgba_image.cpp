#include "core/raster/rgba_image.h"

RgbaImage RgbaImage::Black(int width, int height) {
  RgbaImage image;
  if (width > 0 && height > 0) {
    image.width = width;
    image.height = height;
    image.rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    ClearToBlack(image);
  }
  return image;
}

void ClearToBlack(RgbaImage& image) {
  for (std::size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
    image.rgba[i] = 0;
    image.rgba[i + 1] = 0;
    image.rgba[i + 2] = 0;
    image.rgba[i + 3] = 255;
  }
}
