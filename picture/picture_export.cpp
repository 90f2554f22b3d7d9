#include "picture/picture_export.h"

#include "picture/gif_export.h"
#include "picture/png_file.h"
#include "picture/sheet_pixels.h"
#include "picture/vector_writer.h"

namespace {

FileContent Encoded(std::vector<unsigned char> bytes) {
  if (bytes.empty()) {
    return {WriteOutcome::kNotDrawn, {}, "the PNG encoder failed"};
  }
  return {WriteOutcome::kWritten, std::move(bytes), {}};
}

FileContent VectorFile(const OutputFile& file, int width, int height) {
  std::string why;
  const VectorEncoder encode = LoadVectorEncoder(&why);
  if (encode == nullptr) {
    return {WriteOutcome::kNotDrawn, {}, why};
  }
  VectorJob job{file.format, width, height, {}};
  for (const Sheet& sheet : file.sheets) {
    VectorPage page{{}, sheet.label};
    for (const SheetPart& part : sheet.parts) {
      page.parts.push_back({part.rect, DiagramStrokes(part.mode, part.counter, part.secondIterate)});
    }
    job.pages.push_back(std::move(page));
  }
  FileContent content;
  if (job.pages.empty() || !encode(job, &content.bytes, &content.why)) {
    // The painter's fault is the device's here: it paints into memory.
    return {WriteOutcome::kNotWritten, {}, content.why};
  }
  return content;
}

}  // namespace

WriteOutcome WriteDiagramFiles(const std::vector<OutputFile>& files, int width, int height,
                               std::string* error, const FramePace& pace,
                               const SheetProgress& progress) {
  std::vector<std::string> paths;
  for (const OutputFile& file : files) {
    paths.push_back(file.path);
  }
  return WriteFilesInPlace(
      paths,
      [&](std::size_t i) -> FileContent {
        const OutputFile& file = files[i];
        switch (file.format) {
          case PictureFormat::kPng:
            if (file.sheets.empty()) {
              return {WriteOutcome::kNotDrawn, {}, "nothing to draw"};
            }
            return Encoded(EncodePng(DrawSheet(file.sheets.front(), width, height)));
          case PictureFormat::kGif:
            return GifOfSheets(file.sheets, width, height, pace, progress);
          case PictureFormat::kSvg:
          case PictureFormat::kPdf:
            return VectorFile(file, width, height);
        }
        return {WriteOutcome::kNotDrawn, {}, "no such format"};
      },
      error);
}

WriteOutcome WriteIndexedPngFile(const std::string& path, const std::vector<std::uint8_t>& indices,
                                 int width, int height, const std::vector<std::uint32_t>& palette,
                                 std::string* error) {
  return WriteFilesInPlace(
      {path},
      [&](std::size_t) { return Encoded(EncodeIndexedPng(indices, width, height, palette)); },
      error);
}
