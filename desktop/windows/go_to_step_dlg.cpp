#include "desktop/windows/go_to_step_dlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/numbers/series.h"
#include "core/numbers/step_rules.h"

CGoToStepDlg::CGoToStepDlg(int shownStep, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Go to Step"));
  auto* label = new QLabel(QStringLiteral("Step count (0 to %1):").arg(kSeriesLength), this);
  label->setBuddy(&m_count);
  m_count.setText(QString::number(shownStep));
  m_count.selectAll();
  // Empty until a refusal: the screen reader hears it as the field's
  // description when it appears.
  m_refusal.setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { TryAccept(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(&m_count);
  layout->addWidget(&m_refusal);
  layout->addWidget(buttons);
}

bool CGoToStepDlg::TryAccept() {
  const StepCountText parsed = ParseStepCount(m_count.text().toStdString());
  if (!parsed.valid) {
    m_refusal.setText(QString::fromStdString(parsed.refusal));
    m_count.setAccessibleDescription(m_refusal.text());
    m_count.setFocus();
    m_count.selectAll();
    return false;
  }
  m_step = parsed.step;
  accept();
  return true;
}
