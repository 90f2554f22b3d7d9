#include "desktop/controls/color_static.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPalette>

namespace {

constexpr int kSmallestLegiblePixels = 6;

QColor FromColorRef(unsigned colorRef) {
  return QColor(static_cast<int>(colorRef & 0xFF), static_cast<int>((colorRef >> 8) & 0xFF),
                static_cast<int>((colorRef >> 16) & 0xFF));
}

}  // namespace

CColorStatic::CColorStatic(unsigned backColor, unsigned textColor, QWidget* parent)
    : QLabel(parent) {
  if (backColor == 0 && textColor == 0) {
    m_backColor = QColor(0, 0, 0);
    m_textColor = QColor(255, 255, 255);
  } else {
    m_backColor = FromColorRef(backColor);
    m_textColor = FromColorRef(textColor);
  }
  QPalette colours = palette();
  colours.setColor(QPalette::Window, m_backColor);
  colours.setColor(QPalette::WindowText, m_textColor);
  setPalette(colours);
  setAutoFillBackground(true);
  // The log is shown as it is written: no markup, no centring.
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setWordWrap(true);
}

CColorStatic::~CColorStatic() = default;

void CColorStatic::SetTextFont(int tenthsOfPoint, const char* faceName) {
  QFont font;
  if (faceName != nullptr) {
    font.setFamily(QString::fromLatin1(faceName));
  }
  if (tenthsOfPoint > 0) {
    font.setPointSizeF(tenthsOfPoint / 10.0);
  }
  // Every attribute set here is the panel's own: a bold or italic window
  // font must not show through.
  font.setWeight(QFont::Normal);
  font.setStyle(QFont::StyleNormal);
  font.setUnderline(false);
  font.setStrikeOut(false);
  m_font = font;
  setFont(m_font);
}

void CColorStatic::FitTextLines(int lineCount) {
  if (lineCount < 1) {
    return;
  }
  QStringList lines;
  for (int i = 0; i < lineCount; ++i) {
    lines << QStringLiteral("x");
  }
  const QString sample = lines.join(QLatin1Char('\n'));
  const QRect area = contentsRect();
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  QFont font = m_font;
  int pixels = QFontInfo(font).pixelSize();
  while (pixels > kSmallestLegiblePixels &&
         QFontMetrics(font, this).boundingRect(area, flags, sample).height() > area.height()) {
    font.setPixelSize(--pixels);
  }
  m_font = font;
  setFont(m_font);
}
