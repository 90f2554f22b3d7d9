#include "desktop/controls/unit_edit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>
#include <cmath>

#include "core/numbers/number_text.h"
#include "desktop/controls/key_characters.h"

namespace {

// One byte per UTF-16 code unit, as the rules read a text.
std::string RuleText(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) {
    bytes += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : kForeignCharacter;
  }
  return bytes;
}

bool IsEnter(const QKeyEvent& keyDown) {
  return keyDown.key() == Qt::Key_Return || keyDown.key() == Qt::Key_Enter;
}

// The standard menu's Paste entry, found by name (or by its caption where the
// menu carries no names).
QAction* PasteAction(const QMenu& menu) {
  const QString caption = QCoreApplication::translate("QLineEdit", "&Paste");
  for (QAction* action : menu.actions()) {
    if (action->objectName() == QLatin1String("edit-paste") || action->text().startsWith(caption)) {
      return action;
    }
  }
  return nullptr;
}

}  // namespace

CUnitEdit::CUnitEdit(QWidget* parent) : QLineEdit(parent), m_inputLimit(kUnsetInputLimit) {
  // A plain edit control accepts no drops; text arrives by typing or pasting.
  setAcceptDrops(false);
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (!m_settingText) {
      emit changed();
    }
  });
}

CUnitEdit::~CUnitEdit() = default;

void CUnitEdit::SetValue(float value) {
  SetWindowText(Normalize(FormatFixed2(static_cast<double>(value))));
}

double CUnitEdit::GetValue() const {
  const double value = ParseDouble(ReadWindow());
  return std::isnan(value) ? 0.0 : value;
}

bool CUnitEdit::PreTranslateMessage(QKeyEvent* keyDown) {
  if (keyDown->type() != QEvent::KeyPress) {
    return false;
  }
  if (IsEnter(*keyDown)) {
    return Handle(FieldEvent::Enter()).consumed;  // the dialog around the field sees Enter next
  }
  if (keyDown->key() == Qt::Key_Delete) {
    // Only asked here; the deletion itself follows when the key reaches the
    // field, after the dialog has seen it.
    return ApplyFieldEvent(ReadState(), FieldEvent::Delete()).consumed;
  }
  return false;
}

void CUnitEdit::OnChar(unsigned character) {
  Handle(FieldEvent::Character(character));
}

void CUnitEdit::OnKillFocus() {
  Handle(FieldEvent::Leave());
}

bool CUnitEdit::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // A key that types a character is the field's, never a shortcut of the
    // line edit or the window: Ctrl+V must reach the rules as 0x16.
    auto* keyDown = static_cast<QKeyEvent*>(event);
    if (!IsEnter(*keyDown) && keyDown->key() != Qt::Key_Escape &&
        !CharactersOfKey(*keyDown).isEmpty()) {
      event->accept();
      return true;
    }
  }
  return QLineEdit::event(event);
}

void CUnitEdit::keyPressEvent(QKeyEvent* keyDown) {
  const QString characters = CharactersOfKey(*keyDown);
  if (!characters.isEmpty()) {
    for (const QChar c : characters) {
      OnChar(c.unicode());
    }
  } else if (keyDown->matches(QKeySequence::Delete)) {
    Handle(FieldEvent::Delete());
  } else if (keyDown->matches(QKeySequence::Paste)) {
    PasteLimited(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
  } else if (keyDown->text().isEmpty() || !keyDown->text().at(0).isPrint()) {
    // OnKeyDown: caret movement, selection, Shift+Delete, Ctrl+Delete and the
    // rest of the line edit's own handling of keys that type nothing.
    QLineEdit::keyPressEvent(keyDown);
  }
  // Keys stay with the field, as they stay with a focused edit control, so
  // that the pre-translation walk never sees the same key again from a parent.
  keyDown->accept();
}

void CUnitEdit::inputMethodEvent(QInputMethodEvent* input) {
  // The composition in progress is shown as the line edit shows it; what the
  // input method commits is typed, one character at a time.
  QInputMethodEvent preeditOnly(input->preeditString(), input->attributes());
  QLineEdit::inputMethodEvent(&preeditOnly);
  for (const QChar c : input->commitString()) {
    OnChar(c.unicode());
  }
  input->accept();
}

void CUnitEdit::focusOutEvent(QFocusEvent* focus) {
  QLineEdit::focusOutEvent(focus);
  // The field's own context menu takes the focus only for a moment; an edit
  // control keeps it while its menu is open. A window that is closing, or
  // being destroyed, takes the focus for good, and its owner must not be
  // called back half-destroyed for a value nobody will see.
  if (focus->reason() != Qt::PopupFocusReason && !window()->isHidden()) {
    OnKillFocus();
  }
}

void CUnitEdit::contextMenuEvent(QContextMenuEvent* request) {
  QMenu* menu = createStandardContextMenu();
  // The menu's entries work, but the shortcuts it names do not: in this field
  // Ctrl+V and the like are typed characters, and swallowed.
  for (QAction* action : menu->actions()) {
    action->setText(action->text().section(QLatin1Char('\t'), 0, 0));
  }
  if (QAction* paste = PasteAction(*menu)) {
    disconnect(paste, &QAction::triggered, this, nullptr);
    connect(paste, &QAction::triggered, this,
            [this] { PasteLimited(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); });
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(request->globalPos());
}

void CUnitEdit::mouseReleaseEvent(QMouseEvent* release) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (release->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
    // The X11 middle-click paste is a paste like any other: unfiltered, limited.
    deselect();
    PasteLimited(clipboard->text(QClipboard::Selection));
    release->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(release);
}

std::string CUnitEdit::ReadWindow() const {
  return RuleText(text().left(static_cast<qsizetype>(kTextWindow)));
}

FieldState CUnitEdit::ReadState() const {
  FieldState state{RuleText(text()), {cursorPosition(), cursorPosition()}, m_inputLimit};
  if (hasSelectedText()) {
    state.selection = {selectionStart(), selectionEnd()};
  }
  return state;
}

FieldResult CUnitEdit::Handle(const FieldEvent& event, const QString& pasted) {
  const FieldResult result = ApplyFieldEvent(ReadState(), event);
  m_inputLimit = result.state.limit;
  if (result.textSet) {
    SetWindowText(result.state.text);
    PlaceCaret(result.state.selection.end);
  } else if (result.changed) {
    // The control's own edit, through the line edit so that it reports the
    // change itself, with the caret after the edit.
    const int from = result.replaceFrom;
    if (result.replaceTo > from) {
      setSelection(from, result.replaceTo - from);
    } else {
      setCursorPosition(from);
    }
    const auto size = static_cast<qsizetype>(result.replacement.size());
    insert(event.kind == FieldEventKind::kPaste ? pasted.left(size)
                                                : QString::fromLatin1(result.replacement));
  }
  return result;
}

void CUnitEdit::SetWindowText(const std::string& text) {
  m_settingText = true;
  setText(QString::fromStdString(text));
  setCursorPosition(0);  // where an edit control leaves the caret after a new text
  m_settingText = false;
  emit changed();
}

void CUnitEdit::PlaceCaret(int position) {
  setCursorPosition(std::clamp(position, 0, static_cast<int>(text().size())));
}

void CUnitEdit::PasteLimited(const QString& clip) {
  Handle(FieldEvent::Paste(RuleText(clip)), clip);
}
