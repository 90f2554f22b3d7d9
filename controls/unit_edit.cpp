#include "unit_edit.h"

#include "number_text.h"

CUnitEdit::CUnitEdit(QWidget* parent) : QLineEdit(parent) {}
CUnitEdit::~CUnitEdit() = default;

void CUnitEdit::SetValue(float value) {
  setText(QString::fromStdString(FormatFixed2(value)));
  emit changed();
}

double CUnitEdit::GetValue() const { return ParseDouble(text().left(4).toStdString()); }
