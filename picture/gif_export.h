// The sheets as an animated GIF: each drawn exactly as its PNG, one frame a
// sheet, in order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "picture/file_write.h"
#include "picture/sheet.h"

class GifEncoder;
class SheetFrames;

// An animation made a sheet at a time, for a caller that does other work
// between frames (the page paints its progress); the bytes are those
// GifOfSheets gives for the same sheets.
class SheetGif {
 public:
  SheetGif(int width, int height, const FramePace& pace);
  ~SheetGif();
  SheetGif(const SheetGif&) = delete;
  SheetGif& operator=(const SheetGif&) = delete;

  // Draws the sheet and adds it as the next frame. The model must not change
  // between the sheets.
  void Add(const Sheet& sheet);
  int Frames() const { return static_cast<int>(m_sheets.size()); }
  // The file's bytes, or kNotWritten with content.why when giflib cannot
  // make the file.
  FileContent Finish();

 private:
  void Start(int paletteBits);
  bool Encode(const Sheet& sheet);

  int m_width;
  int m_height;
  FramePace m_pace;
  int m_paletteBits = 0;
  std::unique_ptr<GifEncoder> m_encoder;
  std::unique_ptr<SheetFrames> m_frames;
  std::vector<std::uint32_t> m_pixels;
  std::vector<Sheet> m_sheets;
};

// The file's bytes in content.bytes; kCancelled when `progress` stops it,
// kNotWritten with content.why when giflib cannot make the file.
FileContent GifOfSheets(const std::vector<Sheet>& sheets, int width, int height,
                        const FramePace& pace, const SheetProgress& progress);
