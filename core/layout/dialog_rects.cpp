#include "core/layout/dialog_rects.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/layout/dialog_templates.h"
#include "core/layout/resource.h"

namespace {

// Outline metrics as a face's font file gives them: ascent and descent in
// units of its em square, and the width of its 52 letters "A".."Z" "a".."z"
// set together, in thousandths of an em.
struct FaceDesign {
  const char* faceName;
  int unitsPerEm;
  int ascent;
  int descent;
  int alphabetWidthMilliEm;
};

constexpr FaceDesign kKnownFaces[] = {
    {"Verdana", 2048, 2059, 430, 32460},
};

int RoundedScale(int value, int pixels, int units) {
  return static_cast<int>(std::lround(static_cast<double>(value) * pixels / units));
}

}  // namespace

int MulDiv(int a, int b, int c) {
  if (c == 0) {
    return -1;
  }
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t magnitude = product < 0 ? -product : product;
  const std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
  const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
  const bool negative = (product < 0) != (c < 0);
  return static_cast<int>(negative ? -rounded : rounded);
}

DialogBaseUnits BaseUnitsFromMetrics(int alphabetWidth, int charHeight) {
  return {(alphabetWidth / 26 + 1) / 2, charHeight};
}

DialogBaseUnits DesignedBaseUnits(const char* faceName, int pixelHeight) {
  for (const FaceDesign& face : kKnownFaces) {
    if (faceName != nullptr && std::strcmp(face.faceName, faceName) == 0 && pixelHeight > 0) {
      // Ascent and descent are rounded to whole pixels each, as the character
      // height of a rasterised font is.
      const int height = RoundedScale(face.ascent, pixelHeight, face.unitsPerEm) +
                         RoundedScale(face.descent, pixelHeight, face.unitsPerEm);
      return BaseUnitsFromMetrics(RoundedScale(face.alphabetWidthMilliEm, pixelHeight, 1000),
                                  height);
    }
  }
  return {};
}

DialogRect MapDialogRect(const DialogRect& units, DialogBaseUnits base) {
  return {MulDiv(units.x, base.x, 4), MulDiv(units.y, base.y, 8), MulDiv(units.width, base.x, 4),
          MulDiv(units.height, base.y, 8)};
}

DialogRect TemplateRectInPixels(int templateId, const DialogRect& units, int dotsPerInch,
                                DialogBaseUnits measured) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId);
  if (dialogTemplate == nullptr) {
    return {};
  }
  const DialogBaseUnits designed = DesignedBaseUnits(
      dialogTemplate->fontFace, MulDiv(dialogTemplate->pointSize, dotsPerInch, 72));
  const DialogBaseUnits base = designed.x > 0 && designed.y > 0 ? designed : measured;
  if (base.x <= 0 || base.y <= 0) {
    return {};
  }
  return MapDialogRect(units, base);
}

DialogRect DiagramViewRect(int placeholderId) {
  const DialogTemplate* dialog = FindDialogTemplate(IDD_SENTENCE_DIALOG);
  if (dialog == nullptr) {
    return {};
  }
  for (const DialogItemTemplate& item : dialog->items) {
    if (item.id == placeholderId) {
      // A black-rectangle placeholder has no frame: its client area is all of it.
      return TemplateRectInPixels(IDD_SENTENCE_DIALOG, {item.x, item.y, item.cx, item.cy}, 96, {});
    }
  }
  return {};
}
