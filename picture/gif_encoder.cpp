#include "picture/gif_encoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr GifPixel kColourBits = 0x00ffffffu;
// The global palette follows the 6-byte signature and the 7-byte logical
// screen descriptor.
constexpr std::size_t kPaletteOffset = 13;

}  // namespace

struct GifEncoder::Output {
  GifFileType* gif = nullptr;
  std::vector<unsigned char> bytes;
};

namespace {

int AppendBytes(GifFileType* gif, const GifByteType* bytes, int length) {
  auto* output = static_cast<std::vector<unsigned char>*>(gif->UserData);
  output->insert(output->end(), bytes, bytes + length);
  return length;
}

}  // namespace

GifEncoder::GifEncoder(int width, int height, int delayCentiseconds, int loops, int paletteBits)
    : m_output(std::make_unique<Output>()),
      m_width(width),
      m_height(height),
      m_delay(delayCentiseconds),
      m_paletteSize(1 << std::clamp(paletteBits, 1, 8)) {
  int error = 0;
  m_output->gif = EGifOpen(&m_output->bytes, AppendBytes, &error);
  if (m_output->gif == nullptr) {
    Fail("giflib cannot start a file");
    return;
  }
  EGifSetGifVersion(m_output->gif, true);
  // The colours are not known until every frame is in; the table is written
  // black here and filled in by Finish.
  ColorMapObject* palette = GifMakeMapObject(m_paletteSize, nullptr);
  if (palette == nullptr) {
    Fail("giflib cannot make a palette");
    return;
  }
  std::fill(palette->Colors, palette->Colors + m_paletteSize, GifColorType{0, 0, 0});
  const int written = EGifPutScreenDesc(m_output->gif, width, height, 8, 0, palette);
  GifFreeMapObject(palette);
  if (written == GIF_ERROR) {
    Fail("giflib cannot write the screen");
    return;
  }
  // The Netscape application extension: how often to play the frames again.
  const GifByteType name[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  const GifByteType repeat[] = {1, static_cast<GifByteType>(loops & 0xff),
                                static_cast<GifByteType>((loops >> 8) & 0xff)};
  if (EGifPutExtensionLeader(m_output->gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
      EGifPutExtensionBlock(m_output->gif, sizeof name, name) == GIF_ERROR ||
      EGifPutExtensionBlock(m_output->gif, sizeof repeat, repeat) == GIF_ERROR ||
      EGifPutExtensionTrailer(m_output->gif) == GIF_ERROR) {
    Fail("giflib cannot write the loop count");
  }
  m_previous.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

GifEncoder::~GifEncoder() {
  if (m_output->gif != nullptr) {
    EGifCloseFile(m_output->gif, nullptr);
  }
}

bool GifEncoder::Fail(const char* what) {
  if (m_failure.empty()) {
    m_failure = what;
  }
  return false;
}

GifEncoder::Rectangle GifEncoder::ChangedSince(const GifPixel* pixels, int stride) const {
  if (m_frames == 0) {
    return {0, 0, m_width, m_height};
  }
  int left = m_width;
  int right = -1;
  int top = m_height;
  int bottom = -1;
  for (int y = 0; y < m_height; ++y) {
    const GifPixel* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
    const GifPixel* before = m_previous.data() + static_cast<std::ptrdiff_t>(y) * m_width;
    if (std::memcmp(row, before, static_cast<std::size_t>(m_width) * sizeof(GifPixel)) == 0) {
      continue;
    }
    int first = 0;
    while (first < m_width && ((row[first] ^ before[first]) & kColourBits) == 0) {
      ++first;
    }
    if (first == m_width) {
      continue;
    }
    int last = m_width - 1;
    while (((row[last] ^ before[last]) & kColourBits) == 0) {
      --last;
    }
    left = std::min(left, first);
    right = std::max(right, last);
    top = std::min(top, y);
    bottom = y;
  }
  if (right < 0) {
    // Nothing changed, but the frame still has to hold its delay.
    return {0, 0, 1, 1};
  }
  return {left, top, right - left + 1, bottom - top + 1};
}

bool GifEncoder::IndexOf(GifPixel colour, unsigned char* index) {
  colour &= kColourBits;
  const auto found = std::find(m_palette.begin(), m_palette.end(), colour);
  if (found != m_palette.end()) {
    *index = static_cast<unsigned char>(found - m_palette.begin());
    return true;
  }
  // The last entry stays free: it marks the pixels a frame leaves as they were.
  if (static_cast<int>(m_palette.size()) == m_paletteSize - 1) {
    m_paletteFull = true;
    return false;
  }
  *index = static_cast<unsigned char>(m_palette.size());
  m_palette.push_back(colour);
  return true;
}

bool GifEncoder::AddFrame(const GifPixel* pixels, int stride) {
  if (!m_failure.empty() || m_paletteFull) {
    return false;
  }
  const Rectangle changed = ChangedSince(pixels, stride);
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.UserInputFlag = false;
  control.DelayTime = m_delay;
  control.TransparentColor = m_paletteSize - 1;
  GifByteType extension[4];
  const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
  if (EGifPutExtension(m_output->gif, GRAPHICS_EXT_FUNC_CODE, length, extension) == GIF_ERROR ||
      EGifPutImageDesc(m_output->gif, changed.left, changed.top, changed.width, changed.height,
                       false, nullptr) == GIF_ERROR) {
    return Fail("giflib cannot write a frame");
  }
  std::vector<GifPixelType> line(static_cast<std::size_t>(changed.width));
  GifPixel lastColour = ~GifPixel{0};
  unsigned char lastIndex = 0;
  for (int y = changed.top; y < changed.top + changed.height; ++y) {
    const GifPixel* row = pixels + static_cast<std::ptrdiff_t>(y) * stride + changed.left;
    const GifPixel* before =
        m_previous.data() + static_cast<std::ptrdiff_t>(y) * m_width + changed.left;
    for (int x = 0; x < changed.width; ++x) {
      // Unchanged pixels, see-through, run into long codes.
      if (m_frames > 0 && ((row[x] ^ before[x]) & kColourBits) == 0) {
        line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(m_paletteSize - 1);
        continue;
      }
      if ((row[x] & kColourBits) != lastColour) {
        if (!IndexOf(row[x], &lastIndex)) {
          return false;
        }
        lastColour = row[x] & kColourBits;
      }
      line[static_cast<std::size_t>(x)] = lastIndex;
    }
    if (EGifPutLine(m_output->gif, line.data(), changed.width) == GIF_ERROR) {
      return Fail("giflib cannot write a frame");
    }
  }
  // Outside the rectangle nothing changed.
  for (int y = changed.top; y < changed.top + changed.height; ++y) {
    std::copy_n(pixels + static_cast<std::ptrdiff_t>(y) * stride + changed.left, changed.width,
                m_previous.begin() + static_cast<std::ptrdiff_t>(y) * m_width + changed.left);
  }
  ++m_frames;
  return true;
}

std::vector<unsigned char> GifEncoder::Finish(std::string* error) {
  if (m_frames == 0) {
    Fail("an animation needs at least one frame");
  }
  if (m_output->gif != nullptr) {
    if (EGifCloseFile(m_output->gif, nullptr) == GIF_ERROR) {
      Fail("giflib cannot end the file");
    }
    m_output->gif = nullptr;
  }
  std::vector<unsigned char>& bytes = m_output->bytes;
  if (m_paletteFull) {
    Fail("the pictures have more colours than the palette holds");
  }
  if (m_failure.empty() && bytes.size() < kPaletteOffset + 3 * m_palette.size()) {
    Fail("giflib wrote no palette");
  }
  if (!m_failure.empty()) {
    *error = m_failure;
    return {};
  }
  for (std::size_t i = 0; i < m_palette.size(); ++i) {
    bytes[kPaletteOffset + 3 * i] = static_cast<unsigned char>(m_palette[i] >> 16);
    bytes[kPaletteOffset + 3 * i + 1] = static_cast<unsigned char>(m_palette[i] >> 8);
    bytes[kPaletteOffset + 3 * i + 2] = static_cast<unsigned char>(m_palette[i]);
  }
  return std::move(bytes);
}
