#include "ui/transfer/frm_transfer.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "core/base/busy.h"
#include "core/base/prompter.h"
#include "core/transfer/transfer.h"
#include "ui/base/dialog_buttons.h"
#include "ui/base/error_display.h"
#include "ui/base/help_window.h"
#include "ui/base/select_folder.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

constexpr int kHelpTopic = 12;

QString Text(const std::string& text) { return QString::fromStdString(text); }

constexpr const char* kOverwriteWarning =
    "                          WARNING!~~Unchecking this box will cause the transfer process~to  overwrite  any  data "
    "file with the same name as~the file being transferred.~~This may result in LOSS OF DATA, are you sure?";

}  // namespace

TFrmTransfer::TFrmTransfer(Folders folders, QWidget* parent, int pauseMilliseconds)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      folders_(std::move(folders)),
      pauseMilliseconds_(pauseMilliseconds) {
    setObjectName(QStringLiteral("FrmTransfer"));
    setWindowTitle(tr("Quenvora W-2 Transfer Utility"));

    auto* info = new QFrame(this);
    info->setObjectName(QStringLiteral("InfoPanel"));
    info->setFrameShape(QFrame::StyledPanel);
    info->setAutoFillBackground(true);
    QPalette white = info->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    info->setPalette(white);
    auto* infoLayout = new QVBoxLayout(info);
    infoLayout->setSpacing(0);
    auto* note = new QLabel(tr("NOTE: Your 2025 data files will be unaffected by this process."), info);
    note->setObjectName(QStringLiteral("LblNote"));
    QFont bold = note->font();
    bold.setBold(true);
    note->setFont(bold);
    infoLayout->addWidget(note);
    infoLayout->addSpacing(6);
    const char* lines[] = {
        "This utility will transfer your 2025 data files to the new 2026 version format. In",
        "the  field   below,   enter  the  complete  path  to  your  2025  data files  (if it is",
        "different from the default  path), click Ok, select the files to be transferred and",
        "then click Transfer to begin the transfer process."};
    for (const char* line : lines) infoLayout->addWidget(new QLabel(tr(line), info));

    Path = new QLineEdit(this);
    Path->setObjectName(QStringLiteral("Path"));
    Path->setAccessibleName(tr("Path to 2025 data files"));
    BtnBrowse = NamedButton(this, "BtnBrowse", tr("&Browse"));
    BtnOk = NamedButton(this, "BtnOk", tr("&Ok"));
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(Path, 1);
    pathRow->addWidget(BtnBrowse);
    pathRow->addWidget(BtnOk);

    FileListBox = new QListWidget(this);
    FileListBox->setObjectName(QStringLiteral("FileListBox"));
    FileListBox->setAccessibleName(tr("2025 data files"));
    FileListBox->setSelectionMode(QAbstractItemView::MultiSelection);
    FileListBox->setEnabled(false);
    LblAlreadyTransferred = new QLabel(tr("* = Already transferred"), this);
    LblAlreadyTransferred->setObjectName(QStringLiteral("LblAlreadyTransferred"));
    LblAlreadyTransferred->setVisible(false);

    BtnSelectAll = NamedButton(this, "BtnSelectAll", tr("Select &All"));
    BtnDeselectAll = NamedButton(this, "BtnDeselectAll", tr("&Deselect All"));
    BtnTransfer = NamedButton(this, "BtnTransfer", tr("&Transfer"));
    ChkNoOverwrite = new QCheckBox(tr("Do not overwrite files"), this);
    ChkNoOverwrite->setObjectName(QStringLiteral("ChkNoOverwrite"));
    ChkNoOverwrite->setChecked(true);
    BtnCancel = NamedButton(this, "BtnCancel", tr("&Cancel"));
    BtnHelp = NamedButton(this, "BtnHelp", tr("Help"));
    BtnHelp->setToolTip(tr("Form Help"));
    for (QPushButton* button : {BtnSelectAll, BtnDeselectAll, BtnTransfer}) button->setEnabled(false);

    auto* buttons = new QVBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(BtnSelectAll), static_cast<QWidget*>(BtnDeselectAll),
                       static_cast<QWidget*>(BtnTransfer), static_cast<QWidget*>(ChkNoOverwrite)})
        buttons->addWidget(w);
    buttons->addStretch();
    buttons->addWidget(BtnCancel);
    buttons->addWidget(BtnHelp);
    auto* listRow = new QGridLayout;
    listRow->addWidget(FileListBox, 0, 0);
    listRow->addWidget(LblAlreadyTransferred, 1, 0);
    listRow->addLayout(buttons, 0, 1, 2, 1);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    StatusText = new QLabel(Text(SelectionStatus(0)), StatusBar);
    StatusText->setObjectName(QStringLiteral("StatusText"));
    StatusBar->addWidget(StatusText, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addLayout(pathRow);
    layout->addLayout(listRow, 1);
    layout->addWidget(StatusBar);
    setMinimumSize(560, 440);

    ConnectCommand(BtnBrowse, &QPushButton::clicked, this, &TFrmTransfer::BtnBrowseClick);
    ConnectCommand(BtnOk, &QPushButton::clicked, this, &TFrmTransfer::BtnOkClick);
    ConnectCommand(BtnSelectAll, &QPushButton::clicked, this, &TFrmTransfer::BtnSelectAllClick);
    ConnectCommand(BtnDeselectAll, &QPushButton::clicked, this, &TFrmTransfer::BtnDeselectAllClick);
    ConnectCommand(BtnTransfer, &QPushButton::clicked, this, &TFrmTransfer::BtnTransferClick);
    connect(ChkNoOverwrite, &QCheckBox::clicked, this,
            [this](bool checked) { RunCommand([&] { ChkNoOverwriteClick(checked); }); });
    connect(FileListBox, &QListWidget::itemSelectionChanged, this, &TFrmTransfer::UpdateSelection);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, kHelpTopic); });
    AttachHelpTopic(this, kHelpTopic);
    BtnOk->setDefault(true);
}

void TFrmTransfer::showEvent(QShowEvent* event) {
    if (Path->text().trimmed().isEmpty()) Path->setText(Text(DefaultPriorYearFolder(folders_.DocumentsFolder)));
    QDialog::showEvent(event);
}

void TFrmTransfer::BtnBrowseClick() {
    QString folder = Path->text();
    if (SelectFolder(this, tr("Select the location of your 2025 client files"), folder)) Path->setText(folder);
}

void TFrmTransfer::BtnOkClick() {
    fromFolder_ = CheckPriorYearFolder(Path->text().toStdString());
    Path->setText(Text(fromFolder_));
    for (QWidget* w : {static_cast<QWidget*>(Path), static_cast<QWidget*>(BtnBrowse), static_cast<QWidget*>(BtnOk)})
        w->setEnabled(false);
    FileListBox->clear();
    for (const std::string& entry : PriorYearFileEntries(fromFolder_, folders_.DataFolder))
        FileListBox->addItem(Text(entry));
    FileListBox->setEnabled(true);
    FileListBox->setFocus();
    if (FileListBox->count() > 0) FileListBox->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    LblAlreadyTransferred->setVisible(true);
    BtnOk->setDefault(false);
    BtnTransfer->setDefault(true);
    UpdateSelection();
}

void TFrmTransfer::BtnSelectAllClick() {
    FileListBox->selectAll();
    UpdateSelection();
}

void TFrmTransfer::BtnDeselectAllClick() {
    FileListBox->clearSelection();
    UpdateSelection();
}

void TFrmTransfer::UpdateSelection() {
    const int selected = static_cast<int>(FileListBox->selectedItems().size());
    const bool choosing = FileListBox->isEnabled();
    BtnSelectAll->setEnabled(choosing && selected < FileListBox->count());
    BtnDeselectAll->setEnabled(choosing && selected > 0);
    BtnTransfer->setEnabled(choosing && selected > 0);
    StatusText->setText(Text(SelectionStatus(selected)));
}

void TFrmTransfer::ChkNoOverwriteClick(bool checked) {
    if (checked) return;
    if (ShowMsg(PortsOf(this).prompter, kOverwriteWarning, MsgStyle::YesNoDefaultNo) != MsgButton::Yes) ChkNoOverwrite->setChecked(true);
}

void TFrmTransfer::Pause() {
    if (pauseMilliseconds_ <= 0) return;
    QEventLoop wait;
    QTimer::singleShot(pauseMilliseconds_, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

void TFrmTransfer::BtnTransferClick() {
    for (QWidget* w : {static_cast<QWidget*>(BtnCancel), static_cast<QWidget*>(FileListBox),
                       static_cast<QWidget*>(ChkNoOverwrite), static_cast<QWidget*>(LblAlreadyTransferred),
                       static_cast<QWidget*>(BtnSelectAll), static_cast<QWidget*>(BtnDeselectAll),
                       static_cast<QWidget*>(BtnTransfer)})
        w->setEnabled(false);
    std::vector<std::string> names;
    for (int row = 0; row < FileListBox->count(); ++row)
        if (FileListBox->item(row)->isSelected()) names.push_back(EntryFileName(FileListBox->item(row)->text().toStdString()));
    const bool overwrite = !ChkNoOverwrite->isChecked();

    int transferred = 0;
    try {
        BusyNotice notice(PortsOf(this).busy, PortsOf(this).busyNote, kAppTitle, "Transferring files... please wait");
        Pause();
        for (const std::string& name : names) {
            if (TransferPayerFile(fromFolder_, name, folders_.DataFolder, overwrite) != TransferResult::Transferred)
                continue;
            ++transferred;
            CarryOverEfw2Settings(folders_.PriorYearFolders, folders_.StateFolder);
        }
        Pause();
    } catch (...) {
        // The files before the one that failed stay converted: the window says how many
        // and offers Exit, and the error box says what failed.
        Finish(transferred);
        throw;
    }
    Finish(transferred);
}

void TFrmTransfer::Finish(int transferred) {
    StatusText->setText(Text(TransferredStatus(StatusText->text().toStdString(), transferred)));
    BtnCancel->setEnabled(true);
    BtnCancel->setText(tr("E&xit"));
    BtnTransfer->setDefault(false);
    BtnCancel->setDefault(true);
    BtnCancel->setFocus();
    FileListBox->blockSignals(true);
    FileListBox->clearSelection();
    FileListBox->blockSignals(false);
}

}  // namespace qnvr
