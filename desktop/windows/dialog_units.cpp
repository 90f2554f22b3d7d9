#include "desktop/windows/dialog_units.h"

#include <QFont>
#include <QFontMetrics>

#include "core/layout/dialog_templates.h"

DialogBaseUnits BaseUnitsOfFont(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return BaseUnitsFromMetrics(width, metrics.height());
}

DialogBaseUnits TemplateBaseUnits(const char* faceName, int pointSize, int dotsPerInch) {
  const DialogBaseUnits designed = DesignedBaseUnits(faceName, MulDiv(pointSize, dotsPerInch, 72));
  if (designed.x > 0 && designed.y > 0) {
    return designed;
  }
  return BaseUnitsOfFont(DialogFont(faceName, pointSize, dotsPerInch));
}

namespace {

DialogRect Plain(const QRect& rect) {
  return {rect.x(), rect.y(), rect.width(), rect.height()};
}

QRect FromPlain(const DialogRect& rect) {
  return QRect(rect.x, rect.y, rect.width, rect.height);
}

}  // namespace

QRect TemplateRectInPixels(int templateId, const QRect& units, int dotsPerInch) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId);
  if (dialogTemplate == nullptr) {
    return {};
  }
  return FromPlain(TemplateRectInPixels(
      templateId, Plain(units), dotsPerInch,
      TemplateBaseUnits(dialogTemplate->fontFace, dialogTemplate->pointSize, dotsPerInch)));
}

QRect MapDialogRect(const QRect& units, DialogBaseUnits base) {
  return FromPlain(MapDialogRect(Plain(units), base));
}

QFont DialogFont(const char* faceName, int pointSize, int dotsPerInch) {
  QFont font(QString::fromLatin1(faceName));
  font.setPixelSize(MulDiv(pointSize, dotsPerInch, 72));
  return font;
}
