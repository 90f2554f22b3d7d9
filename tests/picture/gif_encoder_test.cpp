// The encoder alone: a picture with more colours than the small palette holds
// is refused as such, and a larger palette then holds it exactly.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "gif_frames.h"
#include "picture/gif_encoder.h"

namespace {

TEST(GifEncoder, MoreColoursThanThePaletteNeedALargerOne) {
  // Nine colours in a 3x3 picture, then one pixel changed.
  std::vector<GifPixel> first;
  for (GifPixel i = 0; i < 9; ++i) {
    first.push_back(0xff000000u | (i * 0x1c0e07u));
  }
  std::vector<GifPixel> second = first;
  second[4] = first[0];

  GifEncoder small(3, 3, 7, 0, 3);
  EXPECT_FALSE(small.AddFrame(first.data(), 3));
  EXPECT_TRUE(small.PaletteFull());
  std::string error;
  EXPECT_TRUE(small.Finish(&error).empty());
  EXPECT_FALSE(error.empty());

  GifEncoder large(3, 3, 7, 4, 8);
  ASSERT_TRUE(large.AddFrame(first.data(), 3));
  ASSERT_TRUE(large.AddFrame(second.data(), 3));
  const std::vector<unsigned char> bytes = large.Finish(&error);
  ASSERT_FALSE(bytes.empty()) << error;

  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("nine.gif"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  file.close();
  const GifFrames read = ReadGifFrames(path);
  ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
  ASSERT_EQ(read.frames.size(), 2u);
  EXPECT_EQ(read.delays, (std::vector<int>{7, 7}));
  EXPECT_EQ(read.loops, 4);
  for (std::size_t f = 0; f < 2; ++f) {
    const std::vector<GifPixel>& expected = f == 0 ? first : second;
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(read.frames[f].pixel(i % 3, i / 3), expected[static_cast<std::size_t>(i)])
          << "frame " << f << " pixel " << i;
    }
  }
}

}  // namespace
