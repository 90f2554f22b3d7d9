#include "core/diagrams/svg_text.h"

#include <cmath>

#include "core/numbers/number_text.h"

namespace {

int ChannelByte(float channel) {
  const float clamped = channel < 0.0f ? 0.0f : channel > 1.0f ? 1.0f : channel;
  return static_cast<int>(std::nearbyint(clamped * 255.0f));
}

// A vertex of the unit square in the part's pixels, as the views place it.
std::string Point(const ColouredVertex& vertex, const SvgPart& part) {
  const double x = (vertex.x + 0.01) / 1.02 * part.width;
  const double y = (1.01 - vertex.y) / 1.02 * part.height;
  return FormatFixed3(x) + ',' + FormatFixed3(y);
}

void AppendLine(std::string& out, const std::string& points, const Rgb& colour) {
  out += "<polyline stroke=\"" + SvgColour(colour) + "\" points=\"" + points + "\"/>\n";
}

// Runs of one colour become one polyline each; a run starts where the one
// before it ended, as the strip does.
void AppendStrip(std::string& out, const Stroke& stroke, const SvgPart& part) {
  const std::vector<ColouredVertex>& vertices = stroke.vertices;
  std::size_t start = 0;
  while (start + 1 < vertices.size()) {
    std::size_t end = start + 1;
    while (end + 1 < vertices.size() && vertices[end + 1].colour == vertices[end].colour) {
      ++end;
    }
    std::string points;
    std::string last;
    for (std::size_t i = start; i <= end; ++i) {
      const std::string point = Point(vertices[i], part);
      if (point != last) {
        points += (points.empty() ? "" : " ") + point;
        last = point;
      }
    }
    if (points.find(' ') != std::string::npos) {
      AppendLine(out, points, vertices[end].colour);
    }
    start = end;
  }
}

void AppendSegments(std::string& out, const Stroke& stroke, const SvgPart& part) {
  for (std::size_t i = 0; i + 1 < stroke.vertices.size(); i += 2) {
    AppendLine(out, Point(stroke.vertices[i], part) + ' ' + Point(stroke.vertices[i + 1], part),
               stroke.vertices[i + 1].colour);
  }
}

}  // namespace

std::string SvgColour(const Rgb& colour) {
  static const char kHex[] = "0123456789abcdef";
  std::string text = "#";
  for (const float channel : {colour.r, colour.g, colour.b}) {
    const int byte = ChannelByte(channel);
    text += kHex[byte >> 4];
    text += kHex[byte & 15];
  }
  return text;
}

std::string SvgOfDiagrams(int width, int height, const std::vector<SvgPart>& parts) {
  if (width <= 0 || height <= 0) {
    return {};
  }
  const std::string w = std::to_string(width);
  const std::string h = std::to_string(height);
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"0 0 " + w + ' ' + h + "\">\n";
  out += "<title>Veridrift</title>\n";
  out += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#000000\"/>\n";
  for (const SvgPart& part : parts) {
    out += "<g transform=\"translate(" + std::to_string(part.x) + ' ' + std::to_string(part.y) +
           ")\" fill=\"none\" stroke-width=\"1\" stroke-linecap=\"butt\" "
           "stroke-linejoin=\"bevel\">\n";
    for (const Stroke& stroke : part.strokes) {
      if (stroke.primitive == Primitive::kLines) {
        AppendSegments(out, stroke, part);
      } else {
        AppendStrip(out, stroke, part);
      }
    }
    out += "</g>\n";
  }
  out += "</svg>\n";
  return out;
}
