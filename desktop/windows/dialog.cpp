#include "desktop/windows/dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "core/layout/resource.h"
#include "desktop/resources/resources.h"

namespace {

const char* const kControlIdProperty = "controlId";

CDialog::ModalHook& ModalHookSlot() {
  static CDialog::ModalHook hook;
  return hook;
}

int ScreenDotsPerInch() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 96;
}

Qt::WindowFlags FlagsOfStyle(unsigned style, unsigned exStyle) {
  // A window with its own taskbar entry is an ordinary top-level window; a
  // dialog type would be kept off the taskbar by most window managers.
  Qt::WindowFlags flags = (exStyle & WS_EX_APPWINDOW) != 0 ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint;
  if ((style & WS_CAPTION) == WS_CAPTION) {
    flags |= Qt::WindowTitleHint;
  }
  if ((style & WS_SYSMENU) != 0) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  }
  if ((style & WS_MINIMIZEBOX) != 0) {
    flags |= Qt::WindowMinimizeButtonHint;
  }
  if ((style & WS_MAXIMIZEBOX) != 0) {
    flags |= Qt::WindowMaximizeButtonHint;
  }
  return flags;
}

}  // namespace

CDialog::CDialog(int templateId, QWidget* parent) : QDialog(parent), m_templateId(templateId) {}

CDialog::~CDialog() = default;

void CDialog::SetModalHook(ModalHook hook) {
  ModalHookSlot() = std::move(hook);
}

bool CDialog::Create() {
  if (m_created) {
    return true;
  }
  const DialogTemplate* dialogTemplate = FindDialogTemplate(m_templateId);
  if (dialogTemplate == nullptr) {
    return false;
  }
  m_created = true;
  setWindowFlags(FlagsOfStyle(dialogTemplate->style, dialogTemplate->exStyle));
  setWindowTitle(QString::fromLatin1(dialogTemplate->caption));
  const int dotsPerInch = ScreenDotsPerInch();
  setFont(DialogFont(dialogTemplate->fontFace, dialogTemplate->pointSize, dotsPerInch));
  m_baseUnits = TemplateBaseUnits(dialogTemplate->fontFace, dialogTemplate->pointSize, dotsPerInch);
  const QRect client = MapDialogRect(
      QRect(dialogTemplate->x, dialogTemplate->y, dialogTemplate->cx, dialogTemplate->cy));
  // The modal frame cannot be dragged to another size.
  setFixedSize(client.size());
  setSizeGripEnabled(false);
  CreateControls(*dialogTemplate);
  if (OnInitDialog()) {
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (control->focusPolicy() & Qt::TabFocus) {
        control->setFocus(Qt::TabFocusReason);
        break;
      }
    }
  }
  return true;
}

int CDialog::DoModal() {
  if (!Create()) {
    return -1;
  }
  if (ModalHookSlot()) {
    return ModalHookSlot()(*this);
  }
  return exec();
}

void CDialog::setVisible(bool visible) {
  if (visible && !m_created) {
    Create();
  }
  QDialog::setVisible(visible);
}

int CDialog::ControlId(const QWidget* control) {
  const QVariant id = control != nullptr ? control->property(kControlIdProperty) : QVariant();
  return id.isValid() ? id.toInt() : IDC_STATIC;
}

QWidget* CDialog::GetDlgItem(int id) const {
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control->property(kControlIdProperty).isValid() && ControlId(control) == id) {
      return control;
    }
  }
  return nullptr;
}

void CDialog::UpdateData(bool saveAndValidate) {
  DoDataExchange(saveAndValidate);
}

void CDialog::DoDataExchange(bool) {}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialog::OnOK() {
  UpdateData(true);
  done(IDOK);
}

void CDialog::OnCancel() {
  done(IDCANCEL);
}

void CDialog::accept() {
  OnOK();
}

void CDialog::reject() {
  OnCancel();
}

void CDialog::DDX_Text(bool saveAndValidate, QWidget* control, QString& value) {
  if (auto* label = qobject_cast<QLabel*>(control)) {
    saveAndValidate ? void(value = label->text()) : label->setText(value);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    saveAndValidate ? void(value = edit->text()) : edit->setText(value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    saveAndValidate ? void(value = button->text()) : button->setText(value);
  }
}

void CDialog::DDX_Check(bool saveAndValidate, QWidget* control, int& value) {
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    saveAndValidate ? void(value = button->isChecked() ? 1 : 0) : button->setChecked(value != 0);
  }
}

QWidget* CDialog::CreateControl(const DialogItemTemplate& item) {
  const unsigned type = item.style & kControlTypeMask;
  switch (item.controlClass) {
    case ControlClass::kButton: {
      if (type == BS_AUTOCHECKBOX) {
        return new QCheckBox;
      }
      auto* button = new QPushButton;
      // Only a template's default push button reacts to Enter; Qt would make
      // every push button of a dialog a default candidate.
      button->setAutoDefault(false);
      button->setDefault(type == BS_DEFPUSHBUTTON);
      return button;
    }
    case ControlClass::kEdit:
      return new QLineEdit;
    case ControlClass::kComboBox:
      return new QComboBox;
    case ControlClass::kStatic:
      if (type == SS_BLACKRECT) {
        auto* rect = new QWidget;
        rect->setAutoFillBackground(true);
        QPalette palette = rect->palette();
        palette.setColor(QPalette::Window, Qt::black);
        rect->setPalette(palette);
        return rect;
      }
      return new QLabel;
  }
  return new QWidget;
}

void CDialog::CreateControls(const DialogTemplate& dialogTemplate) {
  QWidget* previousTabStop = nullptr;
  for (const DialogItemTemplate& item : dialogTemplate.items) {
    QWidget* control = CreateControl(item);
    PlaceControl(control, item);
    if (item.id == dialogTemplate.initDataControl) {
      if (auto* combo = qobject_cast<QComboBox*>(control)) {
        for (const std::string& text : dialogTemplate.initData) {
          combo->addItem(QString::fromStdString(text));
        }
      }
    }
    if ((item.style & WS_TABSTOP) != 0) {
      if (previousTabStop != nullptr) {
        setTabOrder(previousTabStop, control);
      }
      previousTabStop = control;
    }
  }
}

void CDialog::PlaceControl(QWidget* control, const DialogItemTemplate& item) {
  control->setParent(this);
  control->setProperty(kControlIdProperty, item.id);
  control->setFocusPolicy((item.style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::NoFocus);
  const QString text = QString::fromLatin1(item.text);
  const unsigned type = item.style & kControlTypeMask;
  QRect rect = MapDialogRect(QRect(item.x, item.y, item.cx, item.cy));
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
    if (item.id == IDOK) {
      connect(button, &QAbstractButton::clicked, this, [this] { OnOK(); });
    } else if (item.id == IDCANCEL) {
      connect(button, &QAbstractButton::clicked, this, [this] { OnCancel(); });
    }
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    // The template's height is that of the dropped-down list; the selection
    // field keeps the height its font needs.
    combo->setProperty("droppedHeight", rect.height());
    rect.setHeight(combo->sizeHint().height());
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setMargin(0);
    label->setIndent(0);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (item.controlClass == ControlClass::kStatic && type == SS_LEFT) {
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      label->setText(text);
    } else if (type == SS_ICON && item.imageId != 0) {
      // An icon static takes the size of its icon.
      const QImage icon = LoadIconImage(item.imageId, 32);
      label->setPixmap(QPixmap::fromImage(icon));
      rect.setSize(icon.size());
    }
  }
  control->setGeometry(rect);
  if ((item.style & WS_VISIBLE) != 0) {
    control->show();
  }
}
