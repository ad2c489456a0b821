#include "InspectorView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

#include "Inspector.h"

namespace window {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The value of a property with a dialog button: its text, typed into only
// when the editor allows it, and the button beside it.
QWidget* DialogCell(const host::TInspectorRow& row, const InspectorActions& actions) {
  auto* cell = new QWidget;
  auto* layout = new QHBoxLayout(cell);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* value = new QLineEdit(Text(row.Value), cell);
  value->setObjectName(Text(row.Name));
  value->setFrame(false);
  value->setReadOnly(row.Attributes.Contains(host::paReadOnly));
  auto* button = new QToolButton(cell);
  button->setObjectName(Text(row.Name + ".Edit"));
  button->setText(QStringLiteral("…"));
  layout->addWidget(value);
  layout->addWidget(button);
  QObject::connect(button, &QToolButton::clicked, cell,
                   [name = row.Name, edit = actions.Edit] { edit(name); });
  if (!value->isReadOnly())
    QObject::connect(value, &QLineEdit::editingFinished, cell,
                     [name = row.Name, value, set = actions.SetValue] {
                       set(name, value->text().toStdString());
                     });
  return cell;
}

// The value of a property whose editor offers a list: its values to pick
// from, and typing where the editor allows it.
QWidget* ValueListCell(host::TFormDesigner& designer, host::TComponent& component,
                       const host::TInspectorRow& row, const InspectorActions& actions) {
  auto* values = new QComboBox;
  values->setObjectName(Text(row.Name));
  values->setFrame(false);
  values->setEditable(!row.Attributes.Contains(host::paReadOnly));
  const host::TPropInfo& prop = *component.ClassType()->FindProperty(row.Name);
  host::CreatePropertyEditor(designer, {&component}, prop)
      ->GetValues([values](const std::string& value) { values->addItem(Text(value)); });
  if (row.Attributes.Contains(host::paSortList)) values->model()->sort(0);
  values->setCurrentText(Text(row.Value));
  QObject::connect(values, &QComboBox::textActivated, values,
                   [name = row.Name, set = actions.SetValue](const QString& value) {
                     set(name, value.toStdString());
                   });
  return values;
}

}  // namespace

InspectorView::InspectorView(InspectorActions actions, QWidget* parent)
    : QTableWidget(0, 2, parent), actions_(std::move(actions)) {
  setHorizontalHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
  horizontalHeader()->setStretchLastSection(true);
  verticalHeader()->hide();
  setSelectionMode(QAbstractItemView::NoSelection);
  // Not "any key": typing over a row would take the window's shortcuts.
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                  QAbstractItemView::EditKeyPressed);
  connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    actions_.SetValue(this->item(item->row(), 0)->text().toStdString(), item->text().toStdString());
  });
}

void InspectorView::Inspect(host::TFormDesigner* designer, host::TComponent* component) {
  const QSignalBlocker quiet(this);
  clearContents();
  setRowCount(0);
  if (!designer || !component) return;
  const std::vector<host::TInspectorRow> rows = host::InspectComponent(*designer, *component);
  setRowCount(static_cast<int>(rows.size()));
  for (int i = 0; i < rowCount(); ++i) {
    const host::TInspectorRow& row = rows[static_cast<std::size_t>(i)];
    auto* name = new QTableWidgetItem(Text(row.Name));
    name->setFlags(Qt::ItemIsEnabled);
    setItem(i, 0, name);
    auto* value = new QTableWidgetItem(Text(row.Value));
    value->setFlags(row.Attributes.Contains(host::paReadOnly)
                        ? Qt::ItemIsEnabled
                        : Qt::ItemIsEnabled | Qt::ItemIsEditable);
    setItem(i, 1, value);
    if (row.Attributes.Contains(host::paDialog))
      setCellWidget(i, 1, DialogCell(row, actions_));
    else if (row.Attributes.Contains(host::paValueList))
      setCellWidget(i, 1, ValueListCell(*designer, *component, row, actions_));
  }
  resizeColumnToContents(0);
}

}  // namespace window
