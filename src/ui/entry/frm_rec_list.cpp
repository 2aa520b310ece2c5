#include "ui/entry/frm_rec_list.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/prompter.h"
#include "core/store/data_module.h"
#include "ui/base/dialog_buttons.h"
#include "ui/base/modal.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

constexpr int kWindowWidth = 300;

// Window and list heights by the number of entries; longer lists scroll.
struct ListHeight {
    int entries;
    int window;
    int list;
};
const ListHeight kListHeights[] = {
    {2, 141, 33}, {3, 149, 43}, {4, 161, 57}, {5, 173, 70}, {6, 185, 82}, {7, 200, 97}, {8, 213, 110}, {9, 226, 121},
};
const ListHeight kLongListHeight = {0, 237, 134};

const ListHeight& HeightFor(int entries) {
    for (const ListHeight& height : kListHeights)
        if (height.entries == entries) return height;
    return entries < kListHeights[0].entries ? kListHeights[0] : kLongListHeight;
}

}  // namespace

TFrmRecList::TFrmRecList(const std::vector<EmployeeListEntry>& entries, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("TFrmRecList"));
    setWindowTitle(tr("Employee List"));
    Header = new QLabel(tr("Last Name,  First Name"), this);
    Header->setObjectName(QStringLiteral("Header"));
    RecListBox = new QListWidget(this);
    RecListBox->setObjectName(QStringLiteral("RecListBox"));
    RecListBox->setAccessibleName(Header->text());
    Header->setBuddy(RecListBox);
    for (const EmployeeListEntry& entry : entries)
        RecListBox->addItem(QString::fromStdString(entry.text).trimmed());
    const OkCancelButtons buttons = AddOkCancel(this);
    BtnOk = buttons.ok;
    BtnCancel = buttons.cancel;
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(RecListBox, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item && item->isSelected()) accept();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Header);
    layout->addWidget(RecListBox);
    layout->addStretch();
    layout->addLayout(buttons.row);
    FitHeightToEntries(static_cast<int>(entries.size()));
}

void TFrmRecList::FitHeightToEntries(int entries) {
    const ListHeight& height = HeightFor(entries);
    RecListBox->setFixedHeight(height.list);
    setFixedSize(kWindowWidth, height.window);
}

void TFrmRecList::showEvent(QShowEvent* event) {
    Selected = -1;
    RecListBox->setCurrentRow(-1);
    RecListBox->clearSelection();
    RecListBox->setFocus();
    QDialog::showEvent(event);
}

void TFrmRecList::done(int result) {
    const QList<QListWidgetItem*> chosen = RecListBox->selectedItems();
    Selected = result == Accepted && !chosen.isEmpty() ? RecListBox->row(chosen.first()) : -1;
    QDialog::done(result);
}

void ShowEmployeeList(TFrmDataModule& dm, QWidget* parent) {
    if (dm.RSW2().RecordCount() < 2) {
        ShowMsg(PortsOf(parent).prompter, "The list window is not available when~there is only 1 record in the database", MsgStyle::Plain);
        return;
    }
    const std::vector<EmployeeListEntry>& entries = EmployeeList().For(dm);
    TFrmRecList window(entries, parent);
    ExecModal(window);
    if (window.Selected < 0 || window.Selected >= static_cast<int>(entries.size())) return;
    dm.RSW2().SetCurrentRecord(entries[static_cast<std::size_t>(window.Selected)].record);
    dm.RSW2().GetRec();
}

}  // namespace qnvr
