// The sheets as an animated GIF: each drawn exactly as its PNG, one frame a
// sheet, in order.
#pragma once

#include <string>
#include <vector>

#include "picture/file_write.h"
#include "picture/sheet.h"

// The file's bytes in content.bytes; kCancelled when `progress` stops it,
// kNotWritten with content.why when giflib cannot make the file.
FileContent GifOfSheets(const std::vector<Sheet>& sheets, int width, int height,
                        const FramePace& pace, const SheetProgress& progress);
