// File dialogs, message boxes, pop-up menus and the clipboard.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

#include "platform/qt/qt_toolkit_impl.h"

namespace tx {

namespace {

// "Preset Files (*.syx)" with "*.syx" is shown as it is; a label without its
// pattern gets it in brackets. "*.*" means every file, which Qt spells "*".
QString NameFilter(const std::string& label, const std::string& pattern) {
  QString patterns = Q(pattern).replace(QLatin1Char(';'), QLatin1Char(' ')).replace(QStringLiteral("*.*"), "*");
  QString shown = Q(label);
  const QString tail = QStringLiteral("(") + Q(pattern) + QStringLiteral(")");
  if (shown.endsWith(tail)) shown.chop(tail.size());
  shown = shown.trimmed();
  return shown + QStringLiteral(" (") + patterns + QStringLiteral(")");
}

// The extension of the first pattern of a filter, for names typed without one.
QString SuffixOf(const QString& filter) {
  QString first = filter.mid(filter.lastIndexOf(QLatin1Char('(')) + 1).section(QLatin1Char(' '), 0, 0);
  first.remove(QLatin1Char(')'));
  if (!first.startsWith(QStringLiteral("*."))) return {};
  const QString ext = first.mid(2);
  return ext.contains(QLatin1Char('*')) || ext.contains(QLatin1Char('?')) ? QString() : ext;
}

QMessageBox::StandardButton ToStandard(unsigned bit) {
  switch (bit) {
    case BUTTON_OK: return QMessageBox::Ok;
    case BUTTON_YES: return QMessageBox::Yes;
    case BUTTON_NO: return QMessageBox::No;
    case BUTTON_ABORT: return QMessageBox::Abort;
    case BUTTON_RETRY: return QMessageBox::Retry;
    case BUTTON_IGNORE: return QMessageBox::Ignore;
    case BUTTON_CANCEL: return QMessageBox::Cancel;
    case BUTTON_HELP: return QMessageBox::Help;
    default: return QMessageBox::NoButton;
  }
}

QMessageBox::Icon ToQIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

constexpr unsigned kAllButtons[] = {BUTTON_OK,    BUTTON_YES,    BUTTON_NO,     BUTTON_ABORT,
                                    BUTTON_RETRY, BUTTON_IGNORE, BUTTON_CANCEL, BUTTON_HELP};

}  // namespace

std::optional<std::string> QtToolkit::FileDialog(const FileDialogRequest& request) {
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);

  QFileDialog dialog(impl_->DialogParent(), Q(request.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters;
  for (const auto& [label, pattern] : ParseFileFilter(request.filter)) filters << NameFilter(label, pattern);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (request.save) {
    dialog.setDefaultSuffix(filters.isEmpty() ? QString() : SuffixOf(filters.first()));
    QObject::connect(&dialog, &QFileDialog::filterSelected,
                     [&dialog](const QString& f) { dialog.setDefaultSuffix(SuffixOf(f)); });
  }
  // The proposal is a folder to start in, or a file (in a folder) to offer.
  const QFileInfo proposed(QDir::current(), Q(request.proposedPath));
  if (request.proposedPath.empty()) {
    dialog.setDirectory(QDir::current());
  } else if (proposed.isDir()) {
    dialog.setDirectory(proposed.absoluteFilePath());
  } else {
    const QDir folder = proposed.absoluteDir();
    dialog.setDirectory(folder.exists() ? folder : QDir::current());
    dialog.selectFile(proposed.fileName());
  }

  if (!impl_->fileAnswers.empty()) {
    Impl::FileAnswer a = impl_->fileAnswers.front();
    impl_->fileAnswers.pop_front();
    QTimer::singleShot(0, &dialog, [&dialog, a] {
      if (a.answered) a.answered();
      const std::optional<std::string>& answer = a.path;
      if (!answer) {
        dialog.reject();
        return;
      }
      dialog.selectFile(Q(*answer));
      QMetaObject::invokeMethod(&dialog, "accept", Qt::DirectConnection);
    });
  }
  std::optional<std::string> chosen;
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    chosen = dialog.selectedFiles().first().toStdString();
  if (!ec) std::filesystem::current_path(cwd, ec);
  return chosen;
}

unsigned QtToolkit::MessageBox(const MessageRequest& request) {
  const unsigned mask = request.buttons ? request.buttons : BUTTON_OK;
  QMessageBox box(ToQIcon(request.icon), Q(request.caption),
                  Q(request.barIsNewline ? BarsToNewlines(request.text) : request.text), QMessageBox::NoButton,
                  impl_->DialogParent());
  box.setTextFormat(Qt::PlainText);
  unsigned fallback = 0;
  for (unsigned bit : kAllButtons) {
    if (!(mask & bit)) continue;
    QPushButton* b = box.addButton(ToStandard(bit));
    if (!fallback) fallback = bit;
    if (bit == request.defaultButton) box.setDefaultButton(b);
  }
  if (request.defaultButton & mask) fallback = request.defaultButton;

  if (!impl_->messageAnswers.empty()) {
    const unsigned answer = impl_->messageAnswers.front();
    impl_->messageAnswers.pop_front();
    QTimer::singleShot(0, &box, [&box, answer] {
      if (QAbstractButton* b = box.button(ToStandard(answer)))
        b->click();
      else
        box.reject();
    });
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (!clicked) return (mask & BUTTON_CANCEL) ? BUTTON_CANCEL : fallback;
  const QMessageBox::StandardButton pressed = box.standardButton(clicked);
  for (unsigned bit : kAllButtons)
    if (ToStandard(bit) == pressed) return bit;
  return fallback;
}

int QtToolkit::PopupMenu(WindowId w, std::string_view entries) {
  QtWindow* win = impl_->Find(w);
  QMenu menu(win && win->widget ? win->widget.get() : impl_->DialogParent());
  std::vector<QAction*> actions;
  for (const QString& entry : Q(entries).split(QLatin1Char('|'))) actions.push_back(menu.addAction(entry));

  std::function<void(QWidget*)> shown = std::move(impl_->onPopupShown);
  impl_->onPopupShown = nullptr;
  std::optional<int> answer;
  if (!impl_->popupAnswers.empty()) {
    answer = impl_->popupAnswers.front();
    impl_->popupAnswers.pop_front();
  }
  if (shown || answer) {
    QTimer::singleShot(0, &menu, [&menu, &actions, answer, shown] {
      if (shown) shown(&menu);
      if (!answer) return;
      // Chosen with the keyboard, as a user could: the entry made active, then Return.
      if (*answer >= 1 && *answer <= static_cast<int>(actions.size())) {
        menu.setActiveAction(actions[static_cast<size_t>(*answer - 1)]);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(&menu, &press);
      } else {
        menu.close();
      }
    });
  }
  QAction* chosen = menu.exec(QCursor::pos());
  for (size_t i = 0; i < actions.size(); ++i)
    if (actions[i] == chosen) return static_cast<int>(i) + 1;
  return 0;
}

bool QtToolkit::CopyImageToClipboard(WindowId w, int control) {
  QtControl* c = impl_->Find(w, control);
  auto* img = c ? dynamic_cast<qtk::ImageWidget*>(c->widget.data()) : nullptr;
  if (!img || img->Picture().isNull()) return false;
  QGuiApplication::clipboard()->setImage(img->Picture());
  return true;
}

}  // namespace tx
