#include "picture/png_file.h"

#include <png.h>

#include <csetjmp>

namespace {

// zlib's default level for the diagrams, small pictures of long runs of
// black; a lighter one for the orbit diagram, whose shades cost the default
// level three times the time of drawing them for a few per cent of bytes.
constexpr int kDiagramLevel = 6;
constexpr int kOrbitLevel = 3;

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  bytes->insert(bytes->end(), data, data + length);
}

void NoFlush(png_structp) {}

// libpng reports a failure by jumping back to the setjmp in Encode; nothing
// with a destructor lives between the two.
void Fail(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

void Quiet(png_structp, png_const_charp) {}

// Writes the header `describe` sets up, then the rows at zlib's `level`, each
// pixel followed by a byte to leave out when `filler` is set; empty on
// failure.
template <typename Describe>
std::vector<unsigned char> Encode(int height, const Describe& describe,
                                  const std::vector<png_bytep>& rows, bool filler, int level) {
  std::vector<unsigned char> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Quiet);
  if (png == nullptr) {
    return {};
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &bytes, Append, NoFlush);
  png_set_compression_level(png, level);
  describe(png, info);
  png_write_info(png, info);
  if (filler) {
    png_set_filler(png, 0, PNG_FILLER_AFTER);
  }
  png_write_rows(png, const_cast<png_bytepp>(rows.data()), static_cast<png_uint_32>(height));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

}  // namespace

std::vector<unsigned char> EncodePng(const RgbaImage& image) {
  if (image.width <= 0 || image.height <= 0) {
    return {};
  }
  // RGBA in memory, RGB in the file: libpng drops the opaque alpha byte.
  std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
  for (int row = 0; row < image.height; ++row) {
    rows[static_cast<std::size_t>(row)] =
        const_cast<png_bytep>(image.rgba.data() + image.Offset(0, row));
  }
  return Encode(
      image.height,
      [&](png_structp png, png_infop info) {
        png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                     static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
      },
      rows, true, kDiagramLevel);
}

std::vector<unsigned char> EncodeIndexedPng(const std::vector<std::uint8_t>& indices, int width,
                                            int height, const std::vector<std::uint32_t>& palette) {
  if (width <= 0 || height <= 0 || palette.empty() || palette.size() > 256 ||
      indices.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return {};
  }
  std::vector<png_color> colours;
  for (const std::uint32_t argb : palette) {
    colours.push_back({static_cast<png_byte>(argb >> 16), static_cast<png_byte>(argb >> 8),
                       static_cast<png_byte>(argb)});
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (int row = 0; row < height; ++row) {
    rows[static_cast<std::size_t>(row)] = const_cast<png_bytep>(
        indices.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width));
  }
  return Encode(
      height,
      [&](png_structp png, png_infop info) {
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
      },
      rows, false, kOrbitLevel);
}
