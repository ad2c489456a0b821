#include "ControlViews.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <algorithm>
#include <limits>

#include "Buttons.h"
#include "Glyphs.h"
#include "Spin.h"
#include "StdCtrls.h"
#include "TabListBox.h"

namespace window {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Draws rows with tab stops: the text after each tab starts at the next
// stop, so that component rows stand indented under their header rows.
class TabStopDelegate final : public QStyledItemDelegate {
 public:
  // Stops in the list box's own units: a quarter of the average character
  // width, as dialog layouts measure.
  TabStopDelegate(QObject* parent, std::vector<int> stops, int rowHeight)
      : QStyledItemDelegate(parent), stops_(std::move(stops)), rowHeight_(rowHeight) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), rowHeight_};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStringList pieces = opt.text.split(QLatin1Char('\t'));
    opt.text.clear();
    QStyle* style = opt.widget->style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(
        opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
        opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    int x = 0;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
      if (i > 0) x = NextStop(x, opt.fontMetrics.averageCharWidth());
      painter->drawText(area.adjusted(x, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, pieces[i]);
      x += opt.fontMetrics.horizontalAdvance(pieces[i]);
    }
    painter->restore();
  }

 private:
  // The first stop past `x` pixels; past the last one, every 32 units.
  int NextStop(int x, int charWidth) const {
    for (int stop : stops_)
      if (stop * charWidth / 4 > x) return stop * charWidth / 4;
    const int every = 8 * charWidth;
    return (x / every + 1) * every;
  }

  std::vector<int> stops_;
  int rowHeight_;
};

ControlView ListBoxView(host::TCustomListBox& list, QWidget& parent, ControlInput* input) {
  auto* widget = new QListWidget(&parent);
  widget->setSelectionMode(list.GetMultiSelect() ? QAbstractItemView::ExtendedSelection
                                                 : QAbstractItemView::SingleSelection);
  widget->setUniformItemSizes(true);
  auto* tabbed = dynamic_cast<tablistbox::TTabListBox*>(&list);
  widget->setItemDelegate(new TabStopDelegate(
      widget, tabbed ? tabbed->GetTabStops() : std::vector<int>{}, list.GetItemHeight()));
  if (input)
    QObject::connect(widget, &QListWidget::itemSelectionChanged, widget, [&list, widget, input] {
      input->Act([&list, widget] {
        for (int row = 0; row < widget->count() && row < list.Items().Count(); ++row)
          list.SetSelected(row, widget->item(row)->isSelected());
      });
    });
  return {&list, widget, [&list, widget] {
            const QSignalBlocker quiet(widget);
            const host::TListBoxItems& items = list.Items();
            bool same = widget->count() == items.Count();
            for (int row = 0; same && row < items.Count(); ++row)
              same = widget->item(row)->text() == Text(items[row]);
            if (!same) {
              widget->clear();
              for (int row = 0; row < items.Count(); ++row) widget->addItem(Text(items[row]));
            }
            for (int row = 0; row < items.Count(); ++row)
              widget->item(row)->setSelected(list.GetSelected(row));
          }};
}

ControlView EditView(host::TEdit& edit, QWidget& parent, ControlInput* input) {
  auto* widget = new QLineEdit(&parent);
  if (input)
    QObject::connect(widget, &QLineEdit::textEdited, widget, [&edit, input](const QString& text) {
      input->Act([&edit, text] { edit.SetText(text.toStdString()); });
    });
  return {&edit, widget, [&edit, widget] {
            if (widget->text() != Text(edit.GetText())) widget->setText(Text(edit.GetText()));
          }};
}

ControlView SpinView(host::TSpinEdit& spin, QWidget& parent, ControlInput* input) {
  auto* widget = new QSpinBox(&parent);
  // Bounds of 0 and 0 mean none but the 32-bit range.
  const bool unbounded = spin.GetMinValue() == 0 && spin.GetMaxValue() == 0;
  widget->setRange(unbounded ? std::numeric_limits<std::int32_t>::min() : spin.GetMinValue(),
                   unbounded ? std::numeric_limits<std::int32_t>::max() : spin.GetMaxValue());
  if (input)
    QObject::connect(widget, &QSpinBox::valueChanged, widget, [&spin, input](int value) {
      input->Act([&spin, value] { spin.SetValue(value); });
    });
  return {&spin, widget, [&spin, widget] {
            const QSignalBlocker quiet(widget);
            widget->setValue(spin.GetValue());
          }};
}

// Buttons of every kind: a click reaches the model's Click, which runs the
// handler and closes the form with the button's modal result.
template <class W>
void ConnectClick(W* widget, host::TControl& control, ControlInput* input) {
  if (input)
    QObject::connect(widget, &W::clicked, widget,
                     [&control, input] { input->Act([&control] { control.Click(); }); });
}

ControlView ButtonView(host::TButton& button, QWidget& parent, ControlInput* input) {
  auto* widget = new QPushButton(&parent);
  if (auto* bitBtn = dynamic_cast<host::TBitBtn*>(&button)) {
    widget->setIcon(KindIcon(bitBtn->GetKind()));
    widget->setDefault(bitBtn->GetKind() == host::bkOK);
  }
  ConnectClick(widget, button, input);
  return {&button, widget, [&button, widget] { widget->setText(Text(button.GetText())); }};
}

ControlView SpeedButtonView(host::TSpeedButton& button, QWidget& parent, ControlInput* input) {
  auto* widget = new QToolButton(&parent);
  widget->setIcon(GlyphIcon(button));
  widget->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  widget->setFocusPolicy(Qt::NoFocus);  // a speed button takes no focus
  ConnectClick(widget, button, input);
  return {&button, widget, [&button, widget] { widget->setText(Text(button.GetText())); }};
}

ControlView LabelView(host::TLabel& label, QWidget& parent) {
  auto* widget = new QLabel(&parent);
  widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return {&label, widget, [&label, widget] { widget->setText(Text(label.GetText())); }};
}

ControlView ViewOf(host::TControl& control, QWidget& parent, ControlInput* input) {
  if (auto* c = dynamic_cast<host::TCustomListBox*>(&control))
    return ListBoxView(*c, parent, input);
  if (auto* c = dynamic_cast<host::TEdit*>(&control)) return EditView(*c, parent, input);
  if (auto* c = dynamic_cast<host::TSpinEdit*>(&control)) return SpinView(*c, parent, input);
  if (auto* c = dynamic_cast<host::TButton*>(&control)) return ButtonView(*c, parent, input);
  if (auto* c = dynamic_cast<host::TSpeedButton*>(&control))
    return SpeedButtonView(*c, parent, input);
  if (auto* c = dynamic_cast<host::TLabel*>(&control)) return LabelView(*c, parent);
  return {};
}

}  // namespace

ControlView MakeControlView(host::TControl& control, QWidget& parent, ControlInput* input,
                            int offsetLeft, int offsetTop) {
  ControlView view = ViewOf(control, parent, input);
  if (!view.Widget) return view;
  view.Widget->setObjectName(Text(control.GetName()));
  view.Widget->setGeometry(offsetLeft + control.GetLeft(), offsetTop + control.GetTop(),
                           control.GetWidth(), control.GetHeight());
  std::function<void()> showContent = std::move(view.Show);
  view.Show = [&control, widget = view.Widget, showContent] {
    showContent();
    widget->setVisible(control.GetVisible());
    widget->setEnabled(control.GetEnabled());
  };
  // Without input the widget only shows: it takes neither focus nor keys.
  if (!input) {
    view.Widget->setFocusPolicy(Qt::NoFocus);
    for (QWidget* inner : view.Widget->findChildren<QWidget*>()) inner->setFocusPolicy(Qt::NoFocus);
  }
  view.Show();
  return view;
}

std::vector<const ControlView*> InTabOrder(const std::vector<ControlView>& views) {
  std::vector<const ControlView*> focusable;
  for (const ControlView& view : views)
    if (dynamic_cast<host::TWinControl*>(view.Control)) focusable.push_back(&view);
  std::stable_sort(focusable.begin(), focusable.end(),
                   [](const ControlView* a, const ControlView* b) {
                     return static_cast<host::TWinControl*>(a->Control)->GetTabOrder() <
                            static_cast<host::TWinControl*>(b->Control)->GetTabOrder();
                   });
  return focusable;
}

}  // namespace window
