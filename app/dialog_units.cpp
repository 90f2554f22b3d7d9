#include "dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <cstdint>

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

DialogBaseUnits BaseUnitsOfFont(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return BaseUnitsFromMetrics(width, metrics.height());
}

QRect MapDialogRect(const QRect& units, DialogBaseUnits base) {
  return QRect(MulDiv(units.x(), base.x, 4), MulDiv(units.y(), base.y, 8),
               MulDiv(units.width(), base.x, 4), MulDiv(units.height(), base.y, 8));
}

QFont DialogFont(const char* faceName, int pointSize, int dotsPerInch) {
  QFont font(QString::fromLatin1(faceName));
  font.setPixelSize(MulDiv(pointSize, dotsPerInch, 72));
  return font;
}
