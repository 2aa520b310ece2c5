#include "ui/app/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

#include "core/app/program_setup.h"
#include "core/base/prompter.h"
#include "core/text/text.h"
#include "platform/shell.h"
#include "ui/app/frm_welcome.h"
#include "ui/app/product_icon.h"
#include "ui/base/cyan_dusk.h"
#include "ui/base/error_display.h"
#include "ui/base/help_window.h"
#include "ui/base/modal.h"
#include "ui/entry/filter_edit.h"
#include "ui/store/frm_backup.h"
#include "ui/store/frm_new_file_dlg.h"
#include "ui/store/frm_password.h"

namespace qnvr {
namespace {

constexpr int kClientWidth = 624;
constexpr int kClientHeight = 437;
constexpr int kMainHelpTopic = 1;
constexpr const char* kHelpContext = "HelpContext";
constexpr const char* kIrsInstructionsFile = "Inst W2W3.pdf";

bool Available(ProgramWindow window) { return FindProgramWindow(window) != nullptr; }

QString Text(const std::string& text) { return QString::fromStdString(text); }

QMenu* NamedMenu(QMenuBar* bar, const char* name, const char* title) {
    QMenu* menu = bar->addMenu(QString::fromLatin1(title));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

struct TFrmMain::MenuItem {
    QAction** action;  // where the item is kept; nullptr for a separator
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    int helpContext;
    void (TFrmMain::*click)();
};

TFrmMain::TFrmMain(TFrmDataModule& dataModule, SettingsStore& settings, const Folders& folders,
                   std::vector<std::string> arguments, Options options)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      dm_(dataModule),
      settings_(settings),
      folders_(folders),
      arguments_(std::move(arguments)),
      options_(options) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowIcon(ProductIcon());
    setWindowTitle(Text(MainCaption(false, {})));
    CreateMenus();
    auto* body = new QWidget(this);
    body->setObjectName(QStringLiteral("Body"));
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateToolBar();
    CreateMessagePanel();
    layout->addWidget(Panel3);
    layout->addWidget(MessagePanel, 1);
    layout->addStretch();
    setCentralWidget(body);
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    AttachHelpTopic(this, kMainHelpTopic);

    dm_.OnAddRecentFile = [this](const std::string& path) { AddRecentFile(path); };
    dm_.OnRebuildRecentMenu = [this] { RebuildRecentMenu(); };
}

TFrmMain::~TFrmMain() {
    dm_.OnAddRecentFile = nullptr;
    dm_.OnRebuildRecentMenu = nullptr;
}

QAction* TFrmMain::AddItem(QMenu* menu, const MenuItem& item) {
    QAction* action = menu->addAction(QString::fromLatin1(item.caption));
    if (std::string_view(item.caption) == "-") action->setSeparator(true);
    action->setObjectName(QString::fromLatin1(item.name));
    action->setShortcut(item.shortcut);
    if (item.helpContext) action->setProperty(kHelpContext, item.helpContext);
    if (item.click) ConnectCommand(action, &QAction::triggered, this, item.click);
    if (item.action) *item.action = action;
    return action;
}

QAction* TFrmMain::AddItems(QMenu* menu, std::initializer_list<MenuItem> items) {
    QAction* last = nullptr;
    for (const MenuItem& item : items) last = AddItem(menu, item);
    return last;
}

void TFrmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MnuMainMenu"));
    using T = TFrmMain;
    MnuFile = NamedMenu(bar, "MnuFile", "&File");
    AddItems(MnuFile, {
        {&MnuOpen, "MnuOpen", "&Open ...", QKeySequence(QStringLiteral("Ctrl+O")), 2, &T::MnuOpenClick},
        {&MnuNew, "MnuNew", "&New ...", QKeySequence(QStringLiteral("Ctrl+N")), 3, &T::MnuNewClick},
        {&MnuSaveAs, "MnuSaveAs", "Save &As ...", QKeySequence(QStringLiteral("Ctrl+A")), 4, &T::MnuSaveAsClick},
        {&MnuBackup, "MnuBackup", "&Backup ...", QKeySequence(QStringLiteral("Ctrl+B")), 5, &T::MnuBackupClick},
        {&MnuRestore, "MnuRestore", "&Restore ...", QKeySequence(QStringLiteral("Ctrl+R")), 6, &T::MnuRestoreClick},
        {&MnuClose, "MnuClose", "&Close Employer File", QKeySequence(QStringLiteral("Ctrl+F4")), 0, &T::MnuCloseClick},
        {nullptr, "MnuSeparator1", "-", {}, 0, nullptr},
        {&MnuPrintSetup, "MnuPrintSetup", "Print &Setup", {}, 7, &T::MnuPrintSetupClick},
        {&MnuPrintLabels, "MnuPrintLabels", "Print &Labels", {}, 8, &T::MnuPrintLabelsClick},
        {nullptr, "MnuSeparator2", "-", {}, 0, nullptr},
    });
    for (int slot = 0; slot < RecentFiles::kSlots; ++slot) {
        QAction* item = MnuFile->addAction(QString());
        item->setObjectName(QStringLiteral("MnuMRU%1").arg(slot));
        item->setData(slot);  // the slot it opens
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, slot] { RunCommand([&] { MnuMRUClick(slot); }); });
        MnuMRU[static_cast<std::size_t>(slot)] = item;
    }
    AddItems(MnuFile, {
        {&MnuMRUSeparator, "MnuMRUSeparator", "-", {}, 0, nullptr},
        {&MnuExit, "MnuExit", "E&xit", QKeySequence(QStringLiteral("Ctrl+X")), 0, nullptr},
    });
    MnuMRUSeparator->setVisible(false);
    connect(MnuExit, &QAction::triggered, this, &QWidget::close);

    MnuForms = NamedMenu(bar, "MnuForms", "F&orms");
    AddItems(MnuForms, {
        {&MnuFormW2, "MnuFormW2", "Form W-&2", {}, 9, &T::MnuFormW2Click},
        {&MnuFormW3, "MnuFormW3", "Form W-&3", {}, 10, &T::MnuFormW3Click},
    });

    MnuTools = NamedMenu(bar, "MnuTools", "&Tools");
    AddItems(MnuTools, {
        {&MnuTransfer, "MnuTransfer", "&Transfer", {}, 12, &T::MnuTransferClick},
        {nullptr, "MnuToolsSeparator1", "-", {}, 0, nullptr},
        {&MnuEFW2, "MnuEFW2", "&EFW2 Module", {}, 19, &T::MnuEFW2Click},
        {nullptr, "MnuToolsSeparator2", "-", {}, 0, nullptr},
        {&MnuPassword, "MnuPassword", "&Password ...", {}, 14, &T::MnuPasswordClick},
    });

    MnuHelp = NamedMenu(bar, "MnuHelp", "&Help");
    AddItems(MnuHelp, {
        {&MnuContents, "MnuContents", "&Contents", {}, 0, &T::MnuContentsClick},
        {&MnuTechnicalSupport, "MnuTechnicalSupport", "&Technical Support", {}, 0, &T::MnuTechnicalSupportClick},
        {&MnuLicenseAgreement, "MnuLicenseAgreement", "&License Agreement", {}, 0, &T::MnuLicenseAgreementClick},
        {&MnuIRSInstructions, "MnuIRSInstructions", "&IRS Instructions", {}, 0, &T::MnuIRSInstructionsClick},
        {nullptr, "MnuHelpSeparator1", "-", {}, 0, nullptr},
        {&MnuWebUpdate, "MnuWebUpdate", "&Web Update", {}, 0, &T::MnuWebUpdateClick},
        {nullptr, "MnuHelpSeparator2", "-", {}, 0, nullptr},
        {&MnuAbout, "MnuAbout", "About ...", {}, 1, &T::MnuAboutClick},
    });

    for (QMenu* menu : {MnuFile, MnuForms, MnuTools, MnuHelp}) menu->installEventFilter(this);
    // Windows that are not part of this build keep their items, disabled.
    MnuPrintSetup->setEnabled(Available(ProgramWindow::PrintSetup));
    MnuTransfer->setEnabled(Available(ProgramWindow::Transfer));
    MnuWebUpdate->setEnabled(Available(ProgramWindow::WebUpdate));
    MnuAbout->setEnabled(Available(ProgramWindow::About));
}

void TFrmMain::CreateToolBar() {
    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    auto* layout = new QHBoxLayout(Panel3);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    struct Button {
        QToolButton** button;
        const char* name;
        const char* caption;
        const char* hint;
        QStyle::StandardPixmap icon;
        QAction* action;
    };
    const Button buttons[] = {
        {&BtnNew, "BtnNew", "New", "Create a new Company/Employer File", QStyle::SP_FileIcon, MnuNew},
        {&BtnOpen, "BtnOpen", "Open", "Open a Company/Employer File", QStyle::SP_DialogOpenButton, MnuOpen},
        {&BtnSaveAs, "BtnSaveAs", "Save As", "Save the Company/Employer File under another name",
         QStyle::SP_DialogSaveButton, MnuSaveAs},
        {&BtnBackup, "BtnBackup", "Backup", "Back up the Company/Employer File", QStyle::SP_DriveFDIcon, MnuBackup},
        {&BtnRestore, "BtnRestore", "Restore", "Restore the Company/Employer File from a backup",
         QStyle::SP_BrowserReload, MnuRestore},
        {&BtnFormW2, "BtnFormW2", "Form W-2", "Enter the employees' Forms W-2", QStyle::SP_FileDialogDetailedView,
         MnuFormW2},
        {&BtnFormW3, "BtnFormW3", "Form W-3", "Enter the Form W-3 Transmittal", QStyle::SP_FileDialogContentsView,
         MnuFormW3},
        {&BtnHelp, "BtnHelp", "Help", "Help contents", QStyle::SP_DialogHelpButton, MnuContents},
    };
    for (const Button& b : buttons) {
        auto* button = new QToolButton(Panel3);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setDefaultAction(b.action);  // does what the menu item does, and is enabled with it
        button->setText(QString::fromLatin1(b.caption));
        button->setToolTip(QString::fromLatin1(b.hint));
        button->setIcon(style()->standardIcon(b.icon));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setMinimumWidth(64);
        layout->addWidget(button);
        *b.button = button;
    }
    layout->addStretch();
}

void TFrmMain::CreateMessagePanel() {
    MessagePanel = new QFrame(this);
    MessagePanel->setObjectName(QStringLiteral("MessagePanel"));
    MessagePanel->setAutoFillBackground(true);
    QPalette palette = MessagePanel->palette();
    palette.setColor(QPalette::Window, CyanDuskPanelColor());
    palette.setColor(QPalette::WindowText, Qt::white);
    MessagePanel->setPalette(palette);
    auto* layout = new QVBoxLayout(MessagePanel);
    layout->addStretch();
    const char* const lines[] = {"There is no Payer file open", "To create a new payer, select New from the File menu.",
                                 "To open an existing payer, select Open from the File menu."};
    for (const char* line : lines) {
        auto* label = new QLabel(QString::fromLatin1(line), MessagePanel);
        label->setAlignment(Qt::AlignCenter);
        QFont font = label->font();
        font.setPointSize(font.pointSize() + 2);
        font.setBold(line == lines[0]);
        label->setFont(font);
        layout->addWidget(label);
    }
    layout->addStretch();
}

void TFrmMain::CreateFileDialogs() {
    const QString dataFolder = Text(dataFolder_);
    OpenFileDialog = new QFileDialog(this, tr("Open Quenvora W-2 File"), dataFolder);
    OpenFileDialog->setObjectName(QStringLiteral("OpenFileDialog"));
    OpenFileDialog->setFileMode(QFileDialog::ExistingFile);
    OpenFileDialog->setAcceptMode(QFileDialog::AcceptOpen);
    SaveFileDialog = new QFileDialog(this, tr("Save Quenvora W-2 File As"), dataFolder);
    SaveFileDialog->setObjectName(QStringLiteral("SaveFileDialog"));
    SaveFileDialog->setFileMode(QFileDialog::AnyFile);
    SaveFileDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveFileDialog->setOption(QFileDialog::DontConfirmOverwrite);  // Save As asks itself
    for (QFileDialog* dialog : {OpenFileDialog, SaveFileDialog}) {
        dialog->setDefaultSuffix(QStringLiteral("W226"));
        dialog->setNameFilter(tr("Quenvora W-2 Files (*.W226)"));
    }
}

void TFrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    if (QScreen* screen = QApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
    RunCommand([this] { FormShow(); });
}

void TFrmMain::FormShow() {
    programFolder_ = folders_.ProgramDir();
    dataFolder_ = PrepareDataFolder(folders_.DocumentsDir());
    MakeProgramFolderCurrent(programFolder_);
    CreateFileDialogs();
    if (options_.welcomeMilliseconds > 0) TFrmWelcome::ShowFor(options_.welcomeMilliseconds);
    DeleteUpdateLeftovers(programFolder_);
    UpdateFormCaption();
    EnableMenuItems(false);
    recent_.Load(settings_);
    RebuildRecentMenu();
    context_.reset(new ProgramContext{dm_, settings_, programFolder_, dataFolder_,
                                      programFolder_ + kReportDesignFileName});
    commands_ = std::make_unique<PayerFileCommands>(dm_, settings_, *this, dataFolder_);
    commands_->OpenFromCommandLine(arguments_);
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    RunCommand([this] { dm_.ClosePayerFile(); });
    DeleteReportSnapshot();
    RunCommand([this] { recent_.Save(settings_); });
    event->accept();
    emit Closed();
}

// The help key on a highlighted menu item shows that item's help topic.
bool TFrmMain::eventFilter(QObject* watched, QEvent* event) {
    auto* menu = qobject_cast<QMenu*>(watched);
    if (menu && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        const QAction* item = menu->activeAction();
        const int topic = item ? item->property(kHelpContext).toInt() : 0;
        QMenu* top = menu;
        while (auto* parentMenu = qobject_cast<QMenu*>(top->parentWidget())) top = parentMenu;
        top->close();
        ShowHelpTopic(topic ? topic : kMainHelpTopic);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFrmMain::UpdateFormCaption() { setWindowTitle(Text(MainCaption(dm_.PayerFileOpen, dm_.W3Rec.Boxf_a))); }

void TFrmMain::EnableMenuItems(bool enable) {
    for (QAction* item : {MnuSaveAs, MnuBackup, MnuRestore, MnuClose, MnuPassword}) item->setEnabled(enable);
    MnuPrintLabels->setEnabled(enable && Available(ProgramWindow::PrintLabels));
    MnuEFW2->setEnabled(enable && Available(ProgramWindow::EFW2));
    MnuForms->setEnabled(enable);
    MnuForms->menuAction()->setEnabled(enable);
    MnuFormW2->setEnabled(enable && Available(ProgramWindow::FormW2));
    MnuFormW3->setEnabled(enable && Available(ProgramWindow::FormW3));
    MessagePanel->setVisible(!enable);
}

void TFrmMain::Refresh() {
    UpdateFormCaption();
    EnableMenuItems(dm_.PayerFileOpen);
}

void TFrmMain::AddRecentFile(const std::string& path) { recent_.Add(path); }

void TFrmMain::RebuildRecentMenu() {
    for (int slot = 0; slot < RecentFiles::kSlots; ++slot) {
        QAction* item = MnuMRU[static_cast<std::size_t>(slot)];
        const std::string& path = recent_.Slot(slot);
        item->setText(Text(RecentFiles::MenuCaption(slot, path)));
        item->setVisible(!path.empty());
    }
    MnuMRUSeparator->setVisible(MnuMRU[0]->isVisible());
}

void TFrmMain::OpenProgramWindow(ProgramWindow window) {
    if (const WindowLauncher* launcher = FindProgramWindow(window)) (*launcher)(this, *context_);
}

void TFrmMain::RunProgramWindow(ProgramWindow window) {
    OpenProgramWindow(window);
    Refresh();
}

void TFrmMain::ShowW3Entry() { OpenProgramWindow(ProgramWindow::FormW3); }
void TFrmMain::ShowW2Entry() { OpenProgramWindow(ProgramWindow::FormW2); }

void TFrmMain::MnuOpenClick() {
    if (ExecModal(*OpenFileDialog) != QDialog::Accepted || OpenFileDialog->selectedFiles().isEmpty()) return;
    commands_->Open(OpenFileDialog->selectedFiles().first().toStdString());
}

void TFrmMain::MnuNewClick() {
    TFrmNewFileDlg dialog(this);
    if (ExecModal(dialog) != QDialog::Accepted) return;
    commands_->New(dialog.NewFileName->text().toStdString());
}

void TFrmMain::MnuSaveAsClick() {
    SaveFileDialog->selectFile(QString());
    if (ExecModal(*SaveFileDialog) != QDialog::Accepted || SaveFileDialog->selectedFiles().isEmpty()) return;
    commands_->SaveAs(SaveFileDialog->selectedFiles().first().toStdString());
}

void TFrmMain::MnuBackupClick() {
    TFrmBackup dialog(Text(dm_.PayerFilePath), Text(programFolder_), Text(commands_->BackupFolder()), this);
    if (ExecModal(dialog) != QDialog::Accepted) return;
    commands_->Backup(dialog.Path->text().toStdString());
}

void TFrmMain::MnuRestoreClick() {
    TFrmRestore dialog(Text(dm_.PayerFilePath), Text(programFolder_), Text(commands_->BackupFolder()), this);
    if (ExecModal(dialog) != QDialog::Accepted) return;
    commands_->Restore(dialog.Path->text().toStdString());
}

void TFrmMain::MnuCloseClick() { commands_->Close(); }

void TFrmMain::MnuMRUClick(int slot) { commands_->OpenRecent(recent_.Slot(slot)); }

void TFrmMain::MnuFormW2Click() { RunProgramWindow(ProgramWindow::FormW2); }
void TFrmMain::MnuFormW3Click() { RunProgramWindow(ProgramWindow::FormW3); }
void TFrmMain::MnuPrintSetupClick() { RunProgramWindow(ProgramWindow::PrintSetup); }
void TFrmMain::MnuPrintLabelsClick() { RunProgramWindow(ProgramWindow::PrintLabels); }
void TFrmMain::MnuEFW2Click() { RunProgramWindow(ProgramWindow::EFW2); }
void TFrmMain::MnuWebUpdateClick() { RunProgramWindow(ProgramWindow::WebUpdate); }
void TFrmMain::MnuAboutClick() { RunProgramWindow(ProgramWindow::About); }

void TFrmMain::MnuTransferClick() {
    if (dm_.PayerFileOpen) commands_->Close();  // the transfer may write any payer file
    RunProgramWindow(ProgramWindow::Transfer);
}

void TFrmMain::MnuPasswordClick() {
    TFrmPassword dialog(dm_, this);
    ExecModal(dialog);
}

void TFrmMain::MnuContentsClick() { ShowHelpTopic(1); }
void TFrmMain::MnuTechnicalSupportClick() { ShowHelpTopic(15); }
void TFrmMain::MnuLicenseAgreementClick() { ShowHelpTopic(17); }

void TFrmMain::MnuIRSInstructionsClick() {
    const std::string document = programFolder_ + kIrsInstructionsFile;
    std::error_code error;
    if (!std::filesystem::is_regular_file(document, error)) {
        ShowMsg("The IRS Instructions cannot no be found", mbError);
        return;
    }
    if (!OpenDocument(document)) ShowMsg("No program is set up to open~" + document, mbError);
}

}  // namespace qnvr
