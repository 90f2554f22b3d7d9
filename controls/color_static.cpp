#include "color_static.h"

CColorStatic::CColorStatic(unsigned, unsigned, QWidget* parent) : QLabel(parent) {}
CColorStatic::~CColorStatic() = default;

void CColorStatic::SetTextFont(int tenthsOfPoint, const char* faceName) {
  QFont font(QString::fromLatin1(faceName));
  font.setPointSizeF(tenthsOfPoint / 10.0);
  setFont(font);
}
