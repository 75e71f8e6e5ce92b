// Controls of a window: built from the layout, then read and changed by number.
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cctype>
#include <functional>

#include "platform/qt/qt_pages.h"
#include "platform/qt/qt_toolkit_impl.h"

namespace tx {

namespace {

QFont ControlFont(const QFont& windowFont, const ControlLayout& c) {
  QFont f = windowFont;
  if (c.fontSize > 0) f.setPointSize(c.fontSize);
  if (c.bold) f.setBold(true);
  return f;
}

void SetColour(QWidget* w, int32_t colour) {
  if (colour < 0) return;
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, ToQColor(colour));
  p.setColor(QPalette::ButtonText, ToQColor(colour));
  p.setColor(QPalette::Text, ToQColor(colour));
  w->setPalette(p);
}


void FillRows(QTreeWidget* tree, const std::vector<std::string>& rows) {
  tree->clear();
  for (const std::string& row : rows) {
    QStringList cells = Q(row).split(QLatin1Char('\t'));
    tree->addTopLevelItem(new QTreeWidgetItem(cells));
  }
}

// A text with an "&" mnemonic labels the input control numbered after it.
bool HasMnemonic(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return true;
    ++i;
  }
  return false;
}

// "&Page:" as shown without its mark: "Page:" ("&&" stands for "&").
QString WithoutMnemonic(const std::string& text) {
  std::string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return Q(shown);
}

}  // namespace

QImage QtToolkit::Impl::PictureImage(const std::string& file) const {
  // An unknown stock name shows nothing, quietly.
  const QString path = Picture(file);
  return path.isEmpty() ? QImage() : QImage(path);
}

QString QtToolkit::Impl::Picture(const std::string& file) const {
  if (file.empty() || file[0] != '~') return Q(file);
  std::string key;
  for (char c : file) key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  auto it = stockPictures.find(key);
  return it == stockPictures.end() ? QString() : Q(it->second);
}

void QtToolkit::Impl::BuildMenus(QtWindow& win, QWidget* host, QVBoxLayout* layout) {
  if (win.layout.menus.empty()) return;
  auto* bar = new QMenuBar(host);
  std::function<void(QMenu*, const std::vector<MenuItemLayout>&)> add = [&](QMenu* menu,
                                                                            const std::vector<MenuItemLayout>& items) {
    for (const MenuItemLayout& item : items) {
      if (!item.items.empty()) {
        add(menu->addMenu(Q(item.text)), item.items);
        continue;
      }
      QAction* action = menu->addAction(Q(item.text));
      QtControl& c = win.controls[item.number];
      c.layout.number = item.number;
      c.layout.kind = ControlKind::Button;
      c.text = item.text;
      c.action = action;
    }
  };
  for (const MenuLayout& m : win.layout.menus) add(bar->addMenu(Q(m.title)), m.items);
  layout->setMenuBar(bar);
}

void QtToolkit::Impl::BuildToolbar(QtWindow& win, QWidget* host, QVBoxLayout* layout) {
  for (const ControlLayout& l : win.layout.controls) {
    if (l.kind != ControlKind::ToolButton) continue;
    if (!win.toolbar) {
      win.toolbar = new QToolBar(host);
      win.toolbar->setIconSize(QSize(20, 20));
      layout->addWidget(win.toolbar);
    }
    QIcon icon(Picture(l.picture));
    QAction* action = icon.isNull() ? win.toolbar->addAction(Q(l.text)) : win.toolbar->addAction(icon, Q(l.text));
    action->setToolTip(Q(l.text));
    action->setVisible(!l.hidden);
    action->setEnabled(!l.disabled);
    QtControl& c = win.controls[l.number];
    c.layout = l;
    c.text = l.text;
    c.hidden = l.hidden;
    c.action = action;
  }
}

void QtToolkit::Impl::Stretch(QtWindow& win) {
  if (!win.content) return;
  const QSize area = win.content->size();
  for (auto& [number, c] : win.controls) {
    if (!c.layout.stretches || !c.widget) continue;
    const ControlLayout& l = c.layout;
    const int right = win.X(win.layout.width) - win.X(l.x + l.width);
    const int bottom = win.Y(win.layout.height) - win.Y(l.y + l.height);
    c.widget->setGeometry(win.X(l.x), win.Y(l.y), std::max(1, area.width() - win.X(l.x) - right),
                          std::max(1, area.height() - win.Y(l.y) - bottom));
  }
}

void QtToolkit::Impl::BuildControls(QtWindow& win) {
  QWidget* parent = win.content;
  const QFont windowFont = win.widget->font();
  WindowId id = 0;
  for (auto& [k, v] : windows)
    if (&v == &win) id = k;

  for (auto& [number, c] : win.controls)
    if (c.action) {
      const int n = number;
      QObject::connect(c.action, &QAction::triggered, [this, id, n] {
        if (QtWindow* x = Find(id)) x->Push(Event(EventKind::Accepted, n));
      });
    }

  auto impl_icon = [this](const std::string& file) { return file.empty() ? QIcon() : QIcon(Picture(file)); };
  std::vector<QWidget*> panels, regions;
  for (const ControlLayout& l : win.layout.controls) {
    if (l.kind == ControlKind::ToolButton) continue;  // on the toolbar
    QtControl& c = win.controls[l.number];
    c.layout = l;
    c.text = l.text;
    c.hidden = l.hidden;
    const int n = l.number;
    auto accepted = [this, id, n] {
      QtWindow* x = Find(id);
      if (x && !x->programChange) x->Push(Event(EventKind::Accepted, n));
    };
    QWidget* w = nullptr;
    switch (l.kind) {
      case ControlKind::Button: {
        auto* b = new QPushButton(Q(l.text), parent);
        b->setIcon(impl_icon(l.picture));
        b->setAutoDefault(false);
        if (l.defaultButton) {
          b->setDefault(true);
          win.defaultControl = n;
        }
        QObject::connect(b, &QPushButton::clicked, accepted);
        w = b;
        break;
      }
      case ControlKind::Text: {
        auto* t = new QLabel(Q(l.text), parent);
        t->setTextFormat(Qt::PlainText);
        if (l.centred) t->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        w = t;
        break;
      }
      case ControlKind::Image: {
        auto* img = new qtk::ImageWidget(parent);
        img->SetPicture(PictureImage(l.picture));
        img->onLeftClick = [this, id, n](int x, int y) {
          if (QtWindow* win2 = Find(id)) {
            Event e(EventKind::LeftClick, n);
            e.x = x;
            e.y = y;
            win2->Push(e);
          }
        };
        w = img;
        break;
      }
      case ControlKind::Panel:
        w = new qtk::PanelWidget(parent);
        panels.push_back(w);
        break;
      case ControlKind::Region: {
        auto* r = new qtk::RegionWidget(parent);
        r->onRightClick = [this, id, n] {
          if (QtWindow* x = Find(id)) x->Push(Event(EventKind::RightClick, n));
        };
        w = r;
        regions.push_back(w);
        break;
      }
      case ControlKind::List: {
        auto* tree = new QTreeWidget(parent);
        tree->setRootIsDecorated(false);
        tree->setColumnCount(std::max<int>(1, static_cast<int>(l.columns.size())));
        if (l.columns.empty()) {
          tree->setHeaderHidden(true);
        } else {
          QStringList headers;
          for (const std::string& h : l.columns) headers << Q(h);
          tree->setHeaderLabels(headers);
        }
        QObject::connect(tree, &QTreeWidget::itemSelectionChanged, accepted);
        w = tree;
        break;
      }
      case ControlKind::Option:
        if (l.parent == 0) {
          auto* group = new QGroupBox(Q(l.text), parent);
          w = group;
        } else {
          QtControl& owner = win.controls[l.parent];
          owner.options.push_back(n);
          auto* radio = new QRadioButton(Q(l.text), parent);
          const int groupNumber = l.parent;
          QObject::connect(radio, &QRadioButton::clicked, [this, id, groupNumber] {
            QtWindow* x = Find(id);
            if (x && !x->programChange) x->Push(Event(EventKind::Accepted, groupNumber));
          });
          w = radio;
        }
        break;
      case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setRange(0, 100);
        bar->setValue(0);
        // The window says the percentage in its own words, if at all.
        bar->setTextVisible(false);
        w = bar;
        break;
      }
      case ControlKind::Entry: {
        auto* edit = new QLineEdit(Q(l.text), parent);
        QObject::connect(edit, &QLineEdit::editingFinished, [this, id, n, edit] {
          QtWindow* x = Find(id);
          if (!x || x->programChange || !edit->isModified()) return;
          edit->setModified(false);
          x->Push(Event(EventKind::Accepted, n));
        });
        w = edit;
        break;
      }
      case ControlKind::Combo: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(Q(l.text));
        QObject::connect(combo, &QComboBox::activated, [this, id, n](int) {
          QtWindow* x = Find(id);
          if (!x || x->programChange) return;
          x->controls[n].picked = true;
          x->Push(Event(EventKind::Accepted, n));
        });
        QObject::connect(combo->lineEdit(), &QLineEdit::returnPressed, [this, id, n, combo] {
          QtWindow* x = Find(id);
          if (!x || x->programChange) return;
          // A typed text that is one of the rows counts as that row.
          x->controls[n].picked = combo->findText(combo->currentText()) >= 0;
          x->Push(Event(EventKind::Accepted, n));
        });
        w = combo;
        break;
      }
      case ControlKind::Pages: {
        auto* pages = new qtk::PagesWidget(parent);
        pages->content()->onLeftClick = [this, id, n](int x, int y) {
          if (QtWindow* win2 = Find(id)) {
            Event e(EventKind::LeftClick, n);
            e.x = x;
            e.y = y;
            win2->Push(e);
          }
        };
        pages->onKey = [this, id](int key) {
          if (QtWindow* x = Find(id))
            x->Push(Event(EventKind::Key, 0, {}, key == Qt::Key_PageUp ? KEY_PAGE_UP : KEY_PAGE_DOWN));
        };
        w = pages;
        break;
      }
      case ControlKind::ToolButton:
        break;
      case ControlKind::Spin: {
        auto* spin = new QSpinBox(parent);
        spin->setRange(l.low, std::max(l.low, l.high));
        spin->setValue(std::atoi(l.text.c_str()));
        QObject::connect(spin, &QSpinBox::valueChanged, accepted);
        w = spin;
        break;
      }
    }
    w->setFont(ControlFont(windowFont, l));
    SetColour(w, l.color);
    if (!l.tip.empty()) w->setToolTip(Q(l.tip));
    w->setEnabled(!l.disabled);
    w->ensurePolished();
    const QSize hint = w->sizeHint();
    c.autoWidth = l.width == AUTO_SIZE;
    const int width = l.width == AUTO_SIZE ? hint.width() : win.X(l.width);
    // A combo's height in the layout is that of its drop-down list.
    const int height = l.height == AUTO_SIZE || l.kind == ControlKind::Combo ? hint.height() : win.Y(l.height);
    w->setGeometry(win.X(l.x), win.Y(l.y), width, height);
    w->setVisible(!l.hidden);
    c.widget = w;
  }
  // Panels lie behind everything, regions over everything.
  for (QWidget* p : panels) p->lower();
  for (QWidget* r : regions) r->raise();

  // A prompt's mnemonic moves the focus to the input that follows it in the
  // layout; without one to move to, the prompt shows its text without the mark.
  const std::vector<ControlLayout>& order = win.layout.controls;
  for (size_t i = 0; i < order.size(); ++i) {
    QtControl& c = win.controls[order[i].number];
    auto* label = qobject_cast<QLabel*>(c.widget.data());
    if (!label || order[i].kind != ControlKind::Text || !HasMnemonic(c.text)) continue;
    QWidget* input = nullptr;
    if (i + 1 < order.size()) {
      const ControlKind k = order[i + 1].kind;
      if (k == ControlKind::Entry || k == ControlKind::Spin || k == ControlKind::List || k == ControlKind::Combo)
        input = win.controls[order[i + 1].number].widget;
    }
    if (input) {
      label->setTextFormat(Qt::AutoText);
      label->setBuddy(input);
    } else {
      label->setText(WithoutMnemonic(c.text));
    }
  }
}

void QtToolkit::SetControlText(WindowId w, int control, std::string_view text) {
  QtControl* c = impl_->Find(w, control);
  if (!c) return;
  c->text = std::string(text);
  QtWindow* win = impl_->Find(w);
  win->programChange = true;
  if (c->action) {
    c->action->setText(Q(text));
  } else if (auto* b = qobject_cast<QAbstractButton*>(c->widget.data())) {
    b->setText(Q(text));
  } else if (auto* l = qobject_cast<QLabel*>(c->widget.data())) {
    l->setText(Q(text));
  } else if (auto* e = qobject_cast<QLineEdit*>(c->widget.data())) {
    e->setText(Q(text));
    e->setModified(false);
  } else if (auto* s = qobject_cast<QSpinBox*>(c->widget.data())) {
    s->setValue(std::atoi(c->text.c_str()));
  } else if (auto* combo = qobject_cast<QComboBox*>(c->widget.data())) {
    combo->setEditText(Q(text));
    c->picked = combo->findText(Q(text)) >= 0;
  } else if (auto* g = qobject_cast<QGroupBox*>(c->widget.data())) {
    g->setTitle(Q(text));
  }
  if (c->autoWidth && c->widget) c->widget->resize(c->widget->sizeHint().width(), c->widget->height());
  win->programChange = false;
}

std::string QtToolkit::ControlText(WindowId w, int control) const {
  QtControl* c = impl_->Find(w, control);
  if (!c) return {};
  if (auto* e = qobject_cast<QLineEdit*>(c->widget.data())) return e->text().toStdString();
  if (auto* s = qobject_cast<QSpinBox*>(c->widget.data())) return std::to_string(s->value());
  if (auto* combo = qobject_cast<QComboBox*>(c->widget.data())) return combo->currentText().toStdString();
  return c->text;
}

void QtToolkit::SetControlPicture(WindowId w, int control, std::string_view file) {
  QtControl* c = impl_->Find(w, control);
  if (!c) return;
  c->layout.picture = std::string(file);
  if (c->action) {
    c->action->setIcon(QIcon(impl_->Picture(c->layout.picture)));
  } else if (auto* b = qobject_cast<QAbstractButton*>(c->widget.data())) {
    b->setIcon(QIcon(impl_->Picture(c->layout.picture)));
  } else if (auto* img = dynamic_cast<qtk::ImageWidget*>(c->widget.data())) {
    img->SetPicture(impl_->PictureImage(c->layout.picture));
  }
}

void QtToolkit::SetControlBitmap(WindowId w, int control, std::vector<uint8_t> bmp) {
  QtControl* c = impl_->Find(w, control);
  if (!c) return;
  if (auto* img = dynamic_cast<qtk::ImageWidget*>(c->widget.data())) {
    QImage picture;
    picture.loadFromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
    img->SetPicture(std::move(picture));
  }
}

void QtToolkit::SetControlHidden(WindowId w, int control, bool hidden) {
  QtControl* c = impl_->Find(w, control);
  if (!c) return;
  c->hidden = hidden;
  if (c->action) c->action->setVisible(!hidden);
  if (c->widget) c->widget->setVisible(!hidden);
}

bool QtToolkit::ControlHidden(WindowId w, int control) const {
  QtControl* c = impl_->Find(w, control);
  return c ? c->hidden : true;
}

void QtToolkit::SetControlSelection(WindowId w, int control, int selection) {
  QtControl* c = impl_->Find(w, control);
  if (!c) return;
  QtWindow* win = impl_->Find(w);
  win->programChange = true;
  if (auto* tree = qobject_cast<QTreeWidget*>(c->widget.data())) {
    QTreeWidgetItem* item = selection >= 1 ? tree->topLevelItem(selection - 1) : nullptr;
    if (item)
      tree->setCurrentItem(item);
    else
      tree->clearSelection();
  } else if (auto* combo = qobject_cast<QComboBox*>(c->widget.data())) {
    if (selection >= 1 && selection <= combo->count()) {
      combo->setCurrentIndex(selection - 1);
      combo->setEditText(combo->itemText(selection - 1));
      c->picked = true;
    } else {
      c->picked = false;
    }
  } else if (!c->options.empty()) {
    for (size_t i = 0; i < c->options.size(); ++i)
      if (QtControl* o = impl_->Find(w, c->options[i]))
        if (auto* radio = qobject_cast<QRadioButton*>(o->widget.data()))
          radio->setChecked(static_cast<int>(i) + 1 == selection);
  }
  win->programChange = false;
}

int QtToolkit::ControlSelection(WindowId w, int control) const {
  QtControl* c = impl_->Find(w, control);
  if (!c) return 0;
  if (auto* tree = qobject_cast<QTreeWidget*>(c->widget.data())) {
    QTreeWidgetItem* item = tree->currentItem();
    return item && item->isSelected() ? tree->indexOfTopLevelItem(item) + 1 : 0;
  }
  if (auto* combo = qobject_cast<QComboBox*>(c->widget.data())) {
    const int row = combo->findText(combo->currentText());
    return c->picked && row >= 0 ? row + 1 : 0;
  }
  for (size_t i = 0; i < c->options.size(); ++i)
    if (QtControl* o = impl_->Find(w, c->options[i]))
      if (auto* radio = qobject_cast<QRadioButton*>(o->widget.data()); radio && radio->isChecked())
        return static_cast<int>(i) + 1;
  return 0;
}

void QtToolkit::SetListRows(WindowId w, int control, std::vector<std::string> rows) {
  QtControl* c = impl_->Find(w, control);
  if (!c) return;
  QtWindow* win = impl_->Find(w);
  win->programChange = true;
  if (auto* tree = qobject_cast<QTreeWidget*>(c->widget.data())) FillRows(tree, rows);
  if (auto* combo = qobject_cast<QComboBox*>(c->widget.data())) {
    const QString text = combo->currentText();
    combo->clear();
    for (const std::string& row : rows) combo->addItem(Q(row));
    combo->setEditText(text);
  }
  c->rows = std::move(rows);
  win->programChange = false;
}

void QtToolkit::SetDefaultButton(WindowId w, int control) {
  QtWindow* win = impl_->Find(w);
  if (!win || !win->open) return;
  win->defaultControl = control;
  for (auto& [number, c] : win->controls)
    if (auto* b = qobject_cast<QPushButton*>(c.widget.data())) b->setDefault(number == control);
}

void QtToolkit::SetProgress(WindowId w, int control, int percent) {
  QtControl* c = impl_->Find(w, control);
  if (!c) return;
  if (auto* bar = qobject_cast<QProgressBar*>(c->widget.data())) bar->setValue(std::clamp(percent, 0, 100));
}

void QtToolkit::SetControlEnabled(WindowId w, int control, bool enabled) {
  QtControl* c = impl_->Find(w, control);
  if (!c) return;
  if (c->action) c->action->setEnabled(enabled);
  if (c->widget) c->widget->setEnabled(enabled);
}

bool QtToolkit::ControlEnabled(WindowId w, int control) const {
  QtControl* c = impl_->Find(w, control);
  if (!c) return false;
  if (c->action) return c->action->isEnabled();
  return c->widget && c->widget->isEnabled();
}

void QtToolkit::SetControlTip(WindowId w, int control, std::string_view tip) {
  QtControl* c = impl_->Find(w, control);
  if (!c) return;
  if (c->action) c->action->setToolTip(Q(tip));
  if (c->widget) c->widget->setToolTip(Q(tip));
}

void QtToolkit::SetControlRange(WindowId w, int control, int low, int high) {
  QtControl* c = impl_->Find(w, control);
  if (!c) return;
  c->layout.low = low;
  c->layout.high = high;
  QtWindow* win = impl_->Find(w);
  win->programChange = true;
  if (auto* s = qobject_cast<QSpinBox*>(c->widget.data())) s->setRange(low, std::max(low, high));
  win->programChange = false;
}

void QtToolkit::SetStatusText(WindowId w, std::string_view text) {
  QtWindow* win = impl_->Find(w);
  if (!win || !win->open || !win->status) return;
  // One label per field; the first takes the room that is left.
  const QStringList fields = Q(text).split(QLatin1Char('\t'));
  while (win->statusFields.size() < static_cast<size_t>(fields.size())) {
    auto* label = new QLabel(win->status);
    label->setContentsMargins(6, 0, 6, 0);
    if (win->statusFields.empty())
      win->status->addWidget(label, 1);
    else
      win->status->addPermanentWidget(label);
    win->statusFields.emplace_back(label);
  }
  for (size_t i = 0; i < win->statusFields.size(); ++i)
    if (win->statusFields[i])
      win->statusFields[i]->setText(i < static_cast<size_t>(fields.size()) ? fields[static_cast<qsizetype>(i)] : QString());
}

void QtToolkit::SetFocus(WindowId w, int control) {
  QtControl* c = impl_->Find(w, control);
  if (c && c->widget) c->widget->setFocus();
}

void QtToolkit::SetControlPages(WindowId w, int control, std::vector<PageImage> pages, PixelSize content) {
  QtControl* c = impl_->Find(w, control);
  auto* view = c ? dynamic_cast<qtk::PagesWidget*>(c->widget.data()) : nullptr;
  if (!view) return;
  view->content()->resize(std::max(1, content.width), std::max(1, content.height));
  view->content()->SetPages(std::move(pages));
}

void QtToolkit::SetControlScroll(WindowId w, int control, PixelPoint at) {
  QtControl* c = impl_->Find(w, control);
  auto* view = c ? dynamic_cast<qtk::PagesWidget*>(c->widget.data()) : nullptr;
  if (!view) return;
  view->horizontalScrollBar()->setValue(at.x);
  view->verticalScrollBar()->setValue(at.y);
}

PixelPoint QtToolkit::ControlScroll(WindowId w, int control) const {
  QtControl* c = impl_->Find(w, control);
  auto* view = c ? dynamic_cast<qtk::PagesWidget*>(c->widget.data()) : nullptr;
  if (!view) return {};
  return {view->horizontalScrollBar()->value(), view->verticalScrollBar()->value()};
}

void QtToolkit::SetStockPicture(std::string_view name, std::string file) {
  std::string key;
  for (char ch : name) key += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  impl_->stockPictures[key] = std::move(file);
}

}  // namespace tx
