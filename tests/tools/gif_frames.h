// An animated GIF as a viewer shows it, read with giflib: every frame as the
// whole picture after that frame is put over the ones before.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

struct GifFrames {
  QString error;  // empty when the file was read
  QByteArray version;
  std::vector<QImage> frames;
  std::vector<int> delays;  // hundredths of a second
  int loops = -1;           // -1 without a Netscape loop extension
};

GifFrames ReadGifFrames(const QString& path);
