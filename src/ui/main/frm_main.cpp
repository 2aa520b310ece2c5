#include "ui/main/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

#include "core/program/program_setup.h"
#include "core/base/prompter.h"
#include "core/efw2/efw2_files.h"
#include "core/text/text.h"
#include "platform/shell.h"
#include "ui/main/frm_welcome.h"
#include "ui/main/product_icon.h"
#include "ui/main/tool_bar_icons.h"
#include "ui/base/alt_keys.h"
#include "ui/base/cyan_dusk.h"
#include "ui/base/error_display.h"
#include "ui/base/help_window.h"
#include "ui/base/modal.h"
#include "ui/entry/filter_edit.h"
#include "ui/store/frm_backup.h"
#include "ui/store/frm_new_file_dlg.h"
#include "ui/store/frm_password.h"
#include "ui/base/window_ports.h"

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

TFrmMain::TFrmMain(const WindowPorts& ports, TFrmDataModule& dataModule, SettingsStore& settings,
                   const Folders& folders, std::vector<std::string> arguments, Options options)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      dm_(dataModule),
      settings_(settings),
      folders_(folders),
      arguments_(std::move(arguments)),
      options_(options) {
    UsePorts(*this, ports);
    GuardAltKeys();
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
    CreateSummaryPanel();
    layout->addWidget(Panel3);
    layout->addWidget(MessagePanel, 1);
    layout->addWidget(SummaryPanel, 1);
    layout->addStretch();
    setCentralWidget(body);
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    AttachHelpTopic(this, kMainHelpTopic);

    payerFileChanges_ = dm_.Subscribe([this](PayerFileChange change) { PayerFileChanged(change); });
}

TFrmMain::~TFrmMain() = default;

// The window follows the payer file, whoever opened, closed or changed it: the file
// commands, an entry window or the program's own close.
void TFrmMain::PayerFileChanged(PayerFileChange change) {
    switch (change) {
        case PayerFileChange::Opened:
            RebuildRecentMenu();
            if (commands_) Refresh();
            break;
        case PayerFileChange::Closed:
            AddRecentFile(dm_.PayerFilePath());
            RebuildRecentMenu();
            if (commands_) Refresh();
            break;
        case PayerFileChange::W3RecordReplaced:  // the employer's name is in the caption
            if (commands_) UpdateFormCaption();
            break;
        case PayerFileChange::ReviewsChanged:
            if (commands_) UpdateSummary();
            break;
        case PayerFileChange::EmployeeListChanged:
        case PayerFileChange::W2RecordReplaced:
            break;
    }
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
        {&MnuImportEmployees, "MnuImportEmployees", "&Import Employees ...", {}, 0, &T::MnuImportEmployeesClick},
        {&MnuExportEmployees, "MnuExportEmployees", "&Export Employees ...", {}, 0, &T::MnuExportEmployeesClick},
        {nullptr, "MnuSeparatorEmployees", "-", {}, 0, nullptr},
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
        const char* icon;  // its name in the desktop's icon theme
        QAction* action;
    };
    const Button buttons[] = {
        {&BtnNew, "BtnNew", "New", "Create a new Company/Employer File", "document-new", MnuNew},
        {&BtnOpen, "BtnOpen", "Open", "Open a Company/Employer File", "document-open", MnuOpen},
        {&BtnSaveAs, "BtnSaveAs", "Save As", "Save the Company/Employer File under another name", "document-save-as",
         MnuSaveAs},
        {&BtnBackup, "BtnBackup", "Backup", "Back up the Company/Employer File", "drive-harddisk", MnuBackup},
        {&BtnRestore, "BtnRestore", "Restore", "Restore the Company/Employer File from a backup", "document-revert",
         MnuRestore},
        {&BtnFormW2, "BtnFormW2", "Form W-2", "Enter the employees' Forms W-2", "x-office-document", MnuFormW2},
        {&BtnFormW3, "BtnFormW3", "Form W-3", "Enter the Form W-3 Transmittal", "x-office-spreadsheet", MnuFormW3},
        {&BtnHelp, "BtnHelp", "Help", "Help contents", "help-browser", MnuContents},
    };
    for (const Button& b : buttons) {
        auto* button = new QToolButton(Panel3);
        button->setObjectName(QString::fromLatin1(b.name));
        // Does what the menu item does, and is enabled with it. (A default action would
        // put the menu's caption and icon back on the button at each change of the item.)
        button->setEnabled(b.action->isEnabled());
        connect(b.action, &QAction::enabledChanged, button, &QWidget::setEnabled);
        connect(button, &QToolButton::clicked, b.action, &QAction::trigger);
        button->setText(QString::fromLatin1(b.caption));
        button->setToolTip(QString::fromLatin1(b.hint));
        button->setIcon(ToolBarIcon(QString::fromLatin1(b.icon)));
        button->setIconSize(QSize(24, 24));
        button->setAccessibleName(QString::fromLatin1(b.caption));
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

void TFrmMain::CreateSummaryPanel() {
    SummaryPanel = new QFrame(this);
    SummaryPanel->setObjectName(QStringLiteral("SummaryPanel"));
    SummaryPanel->setAccessibleName(tr("Payer file summary"));
    SummaryPanel->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QGridLayout(SummaryPanel);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setVerticalSpacing(6);
    // The lines are read as they are shown: a label's text is its accessible name.
    auto label = [this](const char* name) {
        auto* line = new QLabel(SummaryPanel);
        line->setObjectName(QString::fromLatin1(name));
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        line->setWordWrap(true);
        return line;
    };
    LblEmployer = label("LblEmployer");
    QFont bold = LblEmployer->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    LblEmployer->setFont(bold);
    LblFormsW2 = label("LblFormsW2");
    int row = 0;
    layout->addWidget(LblEmployer, row++, 0, 1, 2);
    layout->addWidget(LblFormsW2, row++, 0, 1, 2);
    const char* const boxes[] = {"1 Wages, tips, other compensation", "2 Federal income tax withheld",
                                 "3 Social security wages",           "4 Social security tax withheld",
                                 "5 Medicare wages and tips",         "6 Medicare tax withheld"};
    for (int box = 0; box < 6; ++box) {
        auto* caption = new QLabel(tr(boxes[box]), SummaryPanel);
        QLabel* total = label(qPrintable(QStringLiteral("LblBox%1Total").arg(box + 1)));
        total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        total->setWordWrap(false);  // an amount is never broken
        caption->setBuddy(total);
        layout->addWidget(caption, row, 0);
        layout->addWidget(total, row++, 1);
        LblBoxTotal[static_cast<std::size_t>(box)] = total;
    }
    LblReview = label("LblReview");
    LblLastEfw2 = label("LblLastEfw2");
    LblNextStep = label("LblNextStep");
    LblBrowseOnly = label("LblBrowseOnly");
    for (QLabel* line : {LblReview, LblLastEfw2, LblNextStep, LblBrowseOnly}) layout->addWidget(line, row++, 0, 1, 2);
    QFont next = LblNextStep->font();
    next.setBold(true);
    LblNextStep->setFont(next);
    layout->setRowStretch(row, 1);
    layout->setColumnStretch(0, 1);
    SummaryPanel->setVisible(false);
}

void TFrmMain::UpdateSummary() {
    const bool open = dm_.PayerFileOpen() && commands_;
    SummaryPanel->setVisible(open);
    if (!open) return;
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    auto money = [&us](double amount) { return QStringLiteral("$") + us.toString(RoundTo(amount, 2), 'f', 2); };

    // Read as the file holds them: the cursor and the current record stay as they are,
    // so the summary can follow a change told in the middle of an entry window's step.
    std::array<double, 6> totals{};
    int forms = 0;
    int formsWithWages = 0;
    dm_.ReadEachW2([&](const W2Record& w2) {
        ++forms;
        if (HasWages(w2)) ++formsWithWages;
        const double amounts[] = {w2.Amount1, w2.Amount2, w2.Amount3, w2.Amount4, w2.Amount5, w2.Amount6};
        for (std::size_t box = 0; box < totals.size(); ++box) totals[box] += RoundTo(amounts[box], 2);
    });
    const W3Record& w3 = dm_.W3Rec();
    const QString employer = Text(Trim(w3.Boxf_a));
    const QString ein = Text(Trim(w3.Boxe)) == QLatin1String("-") ? QString() : Text(Trim(w3.Boxe));
    LblEmployer->setText(tr("Employer: %1    EIN: %2")
                             .arg(employer.isEmpty() ? tr("(no name yet)") : employer,
                                  ein.isEmpty() ? tr("(none yet)") : ein));
    LblFormsW2->setText(tr("Forms W-2: %1").arg(forms));
    for (std::size_t box = 0; box < totals.size(); ++box) LblBoxTotal[box]->setText(money(totals[box]));

    const bool w3Reviewed = dm_.Reviewed(EntryWindow::W3);
    const bool w2Reviewed = dm_.Reviewed(EntryWindow::W2);
    auto state = [this](bool reviewed) { return reviewed ? tr("reviewed") : tr("not yet reviewed"); };
    LblReview->setText(tr("Since the file was opened: Form W-3 %1, Forms W-2 %2.").arg(state(w3Reviewed), state(w2Reviewed)));

    const Efw2Paths paths = Efw2Paths::For(stateFolder_, dataFolder_);
    const QFileInfo clientFile(Text(paths.ClientFileFor(dm_.PayerFilePath())));
    const bool processed = clientFile.isFile();
    // The folder on a line of its own: a long path is not broken in the middle.
    LblLastEfw2->setText(processed ? tr("Last EFW2 processing: %1, file %2 in the folder\n%3")
                                         .arg(us.toString(clientFile.lastModified(), QStringLiteral("MM/dd/yyyy h:mm AP")),
                                              clientFile.fileName(),
                                              QDir::toNativeSeparators(clientFile.absolutePath()))
                                   : tr("No EFW2 file has been written for this payer yet."));

    QString next;
    if (!w3Reviewed) next = tr("Next: enter or check Form W-3 (Forms, Form W-3) and close it.");
    else if (formsWithWages == 0) next = tr("Next: enter the employees in Form W-2 (Forms, Form W-2).");
    else if (!w2Reviewed) next = tr("Next: open Form W-2, show every employee, and close it.");
    else if (!processed) next = tr("Next: create the EFW2 file (Tools, EFW2 Module, Process).");
    else next = tr("Next: print the forms, or open the next payer file.");
    LblNextStep->setText(next);

    const bool browseOnly = dm_.RSW2().BrowseOnly() || dm_.RSW3().BrowseOnly();
    LblBrowseOnly->setText(browseOnly ? tr("This file is open in browse only mode: another copy of the program is "
                                           "using it, and no change can be saved here.")
                                      : QString());
    LblBrowseOnly->setVisible(browseOnly);
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
    stateFolder_ = folders_.StateDir();
    dataFolder_ = PrepareDataFolder(folders_.DocumentsDir());
    MakeStateFolderCurrent(stateFolder_);
    CreateFileDialogs();
    if (options_.welcomeMilliseconds > 0) TFrmWelcome::ShowFor(options_.welcomeMilliseconds);
    DeleteUpdateLeftovers(stateFolder_);
    UpdateFormCaption();
    EnableMenuItems(false);
    recent_.Load(settings_);
    RebuildRecentMenu();
    context_.reset(new ProgramContext{dm_, settings_, programFolder_, stateFolder_, dataFolder_,
                                      programFolder_ + kReportDesignFileName});
    commands_ = std::make_unique<PayerFileCommands>(dm_, settings_, *this, dataFolder_);
    commands_->OpenFromCommandLine(arguments_);
    UpdateSummary();
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
        ShowHelpTopic(this, topic ? topic : kMainHelpTopic);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFrmMain::UpdateFormCaption() { setWindowTitle(Text(MainCaption(dm_.PayerFileOpen(), dm_.W3Rec().Boxf_a))); }

void TFrmMain::EnableMenuItems(bool enable) {
    for (QAction* item : {MnuSaveAs, MnuBackup, MnuRestore, MnuClose, MnuPassword}) item->setEnabled(enable);
    // Importing writes the payer file; exporting only reads it.
    const bool browseOnly = enable && (dm_.RSW2().BrowseOnly() || dm_.RSW3().BrowseOnly());
    MnuImportEmployees->setEnabled(enable && !browseOnly && Available(ProgramWindow::ImportEmployees));
    MnuExportEmployees->setEnabled(enable && Available(ProgramWindow::ExportEmployees));
    MnuPrintLabels->setEnabled(enable && Available(ProgramWindow::PrintLabels));
    MnuEFW2->setEnabled(enable && Available(ProgramWindow::EFW2));
    MnuForms->setEnabled(enable);
    MnuForms->menuAction()->setEnabled(enable);
    MnuFormW2->setEnabled(enable && Available(ProgramWindow::FormW2));
    MnuFormW3->setEnabled(enable && Available(ProgramWindow::FormW3));
    MessagePanel->setVisible(!enable);
    UpdateSummary();
}

void TFrmMain::Refresh() {
    UpdateFormCaption();
    EnableMenuItems(dm_.PayerFileOpen());
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
    UpdateSummary();
}

void TFrmMain::MnuNewClick() {
    TFrmNewFileDlg dialog(this);
    if (ExecModal(dialog) != QDialog::Accepted) return;
    commands_->New(dialog.NewFileName->text().toStdString());
    UpdateSummary();
}

void TFrmMain::MnuSaveAsClick() {
    SaveFileDialog->selectFile(QString());
    if (ExecModal(*SaveFileDialog) != QDialog::Accepted || SaveFileDialog->selectedFiles().isEmpty()) return;
    commands_->SaveAs(SaveFileDialog->selectedFiles().first().toStdString());
    UpdateSummary();
}

void TFrmMain::MnuBackupClick() {
    TFrmBackup dialog(Text(dm_.PayerFilePath()), Text(programFolder_), Text(commands_->BackupFolder()), this);
    if (ExecModal(dialog) != QDialog::Accepted) return;
    commands_->Backup(dialog.Path->text().toStdString());
}

void TFrmMain::MnuRestoreClick() {
    TFrmRestore dialog(Text(dm_.PayerFilePath()), Text(programFolder_), Text(commands_->BackupFolder()), this);
    if (ExecModal(dialog) != QDialog::Accepted) return;
    commands_->Restore(dialog.Path->text().toStdString());
    UpdateSummary();
}

void TFrmMain::MnuCloseClick() { commands_->Close(); }

void TFrmMain::MnuMRUClick(int slot) {
    commands_->OpenRecent(recent_.Slot(slot));
    UpdateSummary();
}

void TFrmMain::MnuFormW2Click() { RunProgramWindow(ProgramWindow::FormW2); }
void TFrmMain::MnuFormW3Click() { RunProgramWindow(ProgramWindow::FormW3); }
void TFrmMain::MnuImportEmployeesClick() { RunProgramWindow(ProgramWindow::ImportEmployees); }
void TFrmMain::MnuExportEmployeesClick() { RunProgramWindow(ProgramWindow::ExportEmployees); }
void TFrmMain::MnuPrintSetupClick() { RunProgramWindow(ProgramWindow::PrintSetup); }
void TFrmMain::MnuPrintLabelsClick() { RunProgramWindow(ProgramWindow::PrintLabels); }
void TFrmMain::MnuEFW2Click() { RunProgramWindow(ProgramWindow::EFW2); }
void TFrmMain::MnuWebUpdateClick() { RunProgramWindow(ProgramWindow::WebUpdate); }
void TFrmMain::MnuAboutClick() { RunProgramWindow(ProgramWindow::About); }

void TFrmMain::MnuTransferClick() {
    if (dm_.PayerFileOpen()) commands_->Close();  // the transfer may write any payer file
    RunProgramWindow(ProgramWindow::Transfer);
}

void TFrmMain::MnuPasswordClick() {
    TFrmPassword dialog(dm_, this);
    ExecModal(dialog);
}

void TFrmMain::MnuContentsClick() { ShowHelpTopic(this, 1); }
void TFrmMain::MnuTechnicalSupportClick() { ShowHelpTopic(this, 15); }
void TFrmMain::MnuLicenseAgreementClick() { ShowHelpTopic(this, 17); }

void TFrmMain::MnuIRSInstructionsClick() {
    const std::string document = programFolder_ + kIrsInstructionsFile;
    std::error_code error;
    if (!std::filesystem::is_regular_file(document, error)) {
        ShowMsg(PortsOf(this).prompter, "The IRS Instructions cannot no be found", MsgStyle::Error);
        return;
    }
    if (!platform::OpenDocument(document)) ShowMsg(PortsOf(this).prompter, "No program is set up to open~" + document, MsgStyle::Error);
}

}  // namespace qnvr
