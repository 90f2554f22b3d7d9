// SVG and PDF pictures are drawn by Qt's painters, in a module of their own
// (veridrift-vector.so) that the command line loads only when a file asks
// for one, so that its other pictures and listings load no Qt at all. The
// window links the same encoder in and registers it.
#pragma once

#include <string>
#include <vector>

#include "core/diagrams/drawing.h"
#include "picture/sheet.h"

// One diagram's strokes, placed on the page.
struct VectorPart {
  PixelRect rect;
  std::vector<Stroke> strokes;
};

struct VectorPage {
  std::vector<VectorPart> parts;
  std::string label;
};

// An SVG holds the first page, a PDF every page; width x height pixels are a
// page of width/96 x height/96 inches.
struct VectorJob {
  PictureFormat format = PictureFormat::kSvg;
  int width = 0;
  int height = 0;
  std::vector<VectorPage> pages;
};

// The file's bytes; false with *why set when the painter fails.
using VectorEncoder = bool (*)(const VectorJob& job, std::vector<unsigned char>* bytes,
                               std::string* why);

// The module's entry point: returns its encoder.
inline constexpr const char* kVectorEncoderSymbol = "VeridriftVectorEncoder";

// For a program that links the encoder in.
void UseVectorEncoder(VectorEncoder encoder);

// The encoder registered, or else the module's, loaded on first use from
// beside the program; null with *why set when it cannot be had.
VectorEncoder LoadVectorEncoder(std::string* why);
