#include "ui/entry/code_pickers.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/base/dialog_buttons.h"
#include "ui/base/error_sound.h"
#include "ui/base/modal.h"

namespace qnvr {
namespace {

constexpr int kCodeColumnWidth = 70;
constexpr int kListWidth = 900;
constexpr int kListHeight = 420;

QString Box12Caption() { return QStringLiteral("IRS Box 12 Codes "); }
QString OccupationCaption() { return QStringLiteral("Treasury Tipped Occupation Box 14b Codes "); }

QTreeWidgetItem* RowItem(const CodeListRow& row) {
    auto* item = new QTreeWidgetItem;
    if (row.IsHeading()) {
        item->setText(0, QString::fromStdString(row.description));
        QFont bold = item->font(0);
        bold.setBold(true);
        item->setFont(0, bold);
    } else {
        item->setText(0, QString::fromStdString(row.code));
        item->setText(1, QString::fromStdString(row.description));
        item->setToolTip(1, item->text(1));
    }
    // What a screen reader says for the row: the row's text as the list holds it.
    item->setData(0, Qt::AccessibleTextRole, QString::fromStdString(row.Text()).replace(QLatin1Char('\t'), QLatin1Char(' ')));
    return item;
}

template <class Window>
QString Pick(QWidget* parent) {
    Window window(parent);
    ExecModal(window);
    return window.SelectedCode();
}

}  // namespace

QString PickBox12Code(QWidget* parent) { return Pick<TFrmIRSBox12Codes>(parent); }

QString PickOccupationCode(QWidget* parent) { return Pick<TFrmTTOBox14bCodes>(parent); }

TCodeListWindow::TCodeListWindow(const Look& look, const std::vector<CodeListRow>& rows, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), rows_(rows) {
    setObjectName(QString::fromLatin1(look.objectName));
    setWindowTitle(look.caption);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QString::fromLatin1(look.listName));
    list_->setAccessibleName(look.caption.trimmed());
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Code     "), QStringLiteral("Code Description")});
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setSectionsMovable(false);
    list_->header()->setStretchLastSection(true);
    list_->setColumnWidth(0, kCodeColumnWidth);
    list_->setMinimumSize(kListWidth, kListHeight);
    FillList();

    const OkCancelButtons buttons = AddOkCancel(this);
    BtnOk = buttons.ok;
    BtnCancel = buttons.cancel;
    BtnOk->setAccessibleName(QStringLiteral("Ok"));
    BtnCancel->setAccessibleName(QStringLiteral("Cancel"));
    // Cancel is the window's own: the shared row would close it without setting Selected.
    disconnect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnOk, &QPushButton::clicked, this, &TCodeListWindow::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TCodeListWindow::BtnCancelClick);
    // Enter reaches Ok as the default button; a double-click on a row picks that row.
    list_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons.row);
}

void TCodeListWindow::FillList() {
    for (const CodeListRow& row : rows_) {
        QTreeWidgetItem* item = RowItem(row);
        list_->addTopLevelItem(item);
        if (row.IsHeading()) item->setFirstColumnSpanned(true);
    }
}

QString TCodeListWindow::SelectedCode() const { return QString::fromStdString(CodeOfRow(rows_, Selected)); }

int TCodeListWindow::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void TCodeListWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TCodeListWindow::FormShow() {
    Selected = -1;
    list_->setCurrentItem(list_->topLevelItem(0));
    list_->scrollToTop();
    list_->setFocus();
}

void TCodeListWindow::BtnOkClick() {
    const int row = SelectedRow();
    // A heading names a group of codes; only a coded row can be pasted.
    if (row < 0 || rows_[static_cast<std::size_t>(row)].IsHeading()) {
        ErrorSound(this);
        return;
    }
    Selected = row;
    accept();
}

void TCodeListWindow::BtnCancelClick() {
    Selected = -1;
    reject();
}

bool TCodeListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (QTreeWidgetItem* item = list_->itemAt(mouse->position().toPoint());
            item && mouse->button() == Qt::LeftButton) {
            list_->setCurrentItem(item);
            BtnOkClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TCodeListWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();  // the list is answered with Ok or Cancel only
        return;
    }
    QDialog::keyPressEvent(event);
}

TFrmIRSBox12Codes::TFrmIRSBox12Codes(QWidget* parent)
    : TCodeListWindow({"TFrmIRSBox12Codes", Box12Caption(), "IRSCodesListBox"}, Box12CodeRows(), parent) {}

TFrmTTOBox14bCodes::TFrmTTOBox14bCodes(QWidget* parent)
    : TCodeListWindow({"TFrmTTOBox14bCodes", OccupationCaption(), "TTOCodesListBox"}, OccupationCodeRows(), parent) {
    BtnOk->setToolTip(QStringLiteral("Paste the selected code"));
    BtnCancel->setToolTip(QStringLiteral("Cancel the selected code"));
    for (QPushButton* button : {BtnOk, BtnCancel}) button->setFocusPolicy(Qt::ClickFocus);
}

}  // namespace qnvr
