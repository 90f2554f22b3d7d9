// The diagrams as files for handouts: PNG and animated GIF from the core's
// pixels, SVG and PDF as vector lines, each written whole or not at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/file_write.h"
#include "picture/sheet.h"

// Writes every file, each first to a temporary file beside it, and renames
// them into place only when all are written: a failure leaves no new file
// and every old one as it was, with *error saying why. Every sheet is
// width x height pixels; a GIF's frames take `pace`.
WriteOutcome WriteDiagramFiles(const std::vector<OutputFile>& files, int width, int height,
                               std::string* error, const FramePace& pace = FramePace(),
                               const SheetProgress& progress = {});

// A picture of palette indices (the orbit diagram) as a PNG at `path`,
// through the same temporary file and rename.
WriteOutcome WriteIndexedPngFile(const std::string& path, const std::vector<std::uint8_t>& indices,
                                 int width, int height, const std::vector<std::uint32_t>& palette,
                                 std::string* error);
