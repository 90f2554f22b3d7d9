#include "gif_frames.h"

#include <QFile>
#include <cstring>

#include <gif_lib.h>

namespace {

int LoopsOf(const SavedImage& first) {
  for (int i = 0; i + 1 < first.ExtensionBlockCount; ++i) {
    const ExtensionBlock& name = first.ExtensionBlocks[i];
    const ExtensionBlock& data = first.ExtensionBlocks[i + 1];
    if (name.Function == APPLICATION_EXT_FUNC_CODE && name.ByteCount == 11 &&
        std::memcmp(name.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount == 3 &&
        data.Bytes[0] == 1) {
      return data.Bytes[1] | (data.Bytes[2] << 8);
    }
  }
  return -1;
}

}  // namespace

GifFrames ReadGifFrames(const QString& path) {
  GifFrames result;
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    result.version = file.read(6);
  }
  int error = 0;
  GifFileType* gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
  if (gif == nullptr) {
    result.error = QStringLiteral("giflib cannot open it: %1").arg(GifErrorString(error));
    return result;
  }
  if (DGifSlurp(gif) != GIF_OK || gif->SColorMap == nullptr) {
    result.error = QStringLiteral("giflib cannot read it");
    DGifCloseFile(gif, &error);
    return result;
  }
  QImage canvas(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
  canvas.fill(Qt::black);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(gif, i, &control);
    const ColorMapObject* palette =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    const GifImageDesc& place = image.ImageDesc;
    for (int y = 0; y < place.Height; ++y) {
      for (int x = 0; x < place.Width; ++x) {
        const int index = image.RasterBits[y * place.Width + x];
        if (index == control.TransparentColor || index >= palette->ColorCount) {
          continue;
        }
        const GifColorType colour = palette->Colors[index];
        canvas.setPixel(place.Left + x, place.Top + y, qRgb(colour.Red, colour.Green, colour.Blue));
      }
    }
    result.frames.push_back(canvas.copy());
    result.delays.push_back(control.DelayTime);
  }
  if (gif->ImageCount > 0) {
    result.loops = LoopsOf(gif->SavedImages[0]);
  }
  DGifCloseFile(gif, &error);
  return result;
}
