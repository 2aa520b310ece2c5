#include "ui/efw2/frm_efw2.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

#include "core/base/prompter.h"
#include "platform/shell.h"
#include "ui/base/alt_keys.h"
#include "ui/base/dialog_buttons.h"
#include "ui/base/error_display.h"
#include "ui/base/help_window.h"
#include "ui/efw2/frm_efw2_audit.h"
#include "ui/entry/check_box_edit.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/enter_as_tab.h"
#include "ui/entry/field_color.h"
#include "ui/entry/field_text.h"
#include "ui/entry/field_visit.h"
#include "ui/entry/filter_edit.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/state_edit.h"

namespace qnvr {
namespace {

constexpr int kHelpTopic = 19;
constexpr const char* kCaption = "EFW2 - Submitter Information and File Creation Version 2026.00";
constexpr const char* kZipCaption = "Zip Code and Zip Code extension (extension is optional)";
constexpr const char* kSubmitZipCaption = "Submitter's Zip Code and Zip Code extension (extension is optional)";
constexpr const char* kPhoneCaption = "Contact Person's telephone number and extension";
constexpr const char* kPreparerCaption =
    "Preparer Code. Enter one of the following codes to indicate who prepared the EFW2 file:";
constexpr const char* kPreparerCodes =
    "A = Accounting Firm, L = Self Prepared, S= Service Bureau, P = Parent Company, O = Oher";

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The dots that join a caption to its field.
class DotLeader final : public QWidget {
public:
    explicit DotLeader(QWidget* parent) : QWidget(parent) {
        setMinimumWidth(12);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    // One line high: the leader sits on the caption's last line, whatever its height.
    QSize sizeHint() const override { return {24, fontMetrics().height()}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const int y = height() - fontMetrics().descent();
        const int step = fontMetrics().horizontalAdvance(QLatin1Char('.')) + 2;
        for (int x = 2; x + step <= width(); x += step) painter.drawText(x, y, QStringLiteral("."));
    }
};

template <class Widget>
Widget* Named(Widget* widget, const char* name, const QString& accessibleName) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(accessibleName);
    return widget;
}

// A text field of the submitter area; its width follows the characters it takes.
TFilterEdit* TextField(QWidget* parent, const char* name, const QString& caption, int maxLength,
                       CharCase charCase = CharCase::Upper, const char* validChars = "[]") {
    auto* field = Named(new TFilterEdit(parent), name, caption);
    field->SetCase(charCase);
    field->SetValidChars(QString::fromLatin1(validChars));
    field->setMaxLength(maxLength);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('W')) * std::min(maxLength, 30) + 12);
    return field;
}

TMaskEdit* MaskField(QWidget* parent, const char* name, const QString& caption, const char* layout) {
    auto* field = Named(new TMaskEdit(QString::fromLatin1(layout), parent), name, caption);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 14 + 12);
    return field;
}

TStateEdit* StateField(QWidget* parent, const char* name, const QString& caption) {
    auto* field = Named(new TStateEdit(parent), name, caption);
    field->SetOkToDel(true);
    return field;
}

// Buttons and the right column's controls are reached by mouse and accelerator only.
QPushButton* ColumnButton(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
    QPushButton* button = NamedButton(parent, name, caption);
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* TotalField(QWidget* parent, const char* name, const QString& caption) {
    auto* field = Named(new QLineEdit(parent), name, caption);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setAlignment(Qt::AlignRight);
    return field;
}

}  // namespace

TFrmEFW2::TFrmEFW2(TFrmDataModule& dataModule, std::vector<std::string>& masterList, Efw2Paths paths,
                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      run_(dataModule, masterList, std::move(paths)) {
    GuardAltKeys();
    setObjectName(QStringLiteral("FrmEFW2"));
    setWindowTitle(QString::fromLatin1(kCaption));

    auto* body = new QHBoxLayout;
    body->addWidget(BuildSubmitterArea(), 1);
    body->addWidget(BuildRightColumn());
    CurClientPanel = Named(new QLabel(this), "CurClientPanel", tr("Current Client"));
    CurClientPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    CurClientPanel->setMinimumHeight(24);
    // Read as they are shown: their texts are their accessible names.
    ProcessHint = new QLabel(this);
    ProcessHint->setObjectName(QStringLiteral("ProcessHint"));
    ProcessHint->setWordWrap(true);
    Efw2Files = new QLabel(this);
    Efw2Files->setObjectName(QStringLiteral("Efw2Files"));
    Efw2Files->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Efw2Files->setWordWrap(true);
    BtnOpenFolder = NamedButton(this, "BtnOpenFolder", tr("Open &Folder"));
    BtnOpenFolder->setAccessibleName(tr("Open Folder"));
    BtnOpenFolder->setToolTip(tr("Open the folder of the EFW2 files"));
    BtnOpenFolder->setFocusPolicy(Qt::NoFocus);
    ConnectCommand(BtnOpenFolder, &QPushButton::clicked, this, &TFrmEFW2::BtnOpenFolderClick);
    auto* files = new QHBoxLayout;
    files->addWidget(Efw2Files, 1);
    files->addWidget(BtnOpenFolder);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(ProcessHint);
    layout->addLayout(files);
    layout->addWidget(CurClientPanel);
    setFixedSize(960, 640);

    auto* keys = new TEnterAsTab(this);
    keys->SetEscapeAsClose(true);
    AttachHelpTopic(this, kHelpTopic);
    windowColor_ = FieldColor(EIN);
}

QWidget* TFrmEFW2::BuildSubmitterArea() {
    auto* area = new QWidget;
    area->setObjectName(QStringLiteral("SubmitterArea"));
    area->setAutoFillBackground(true);
    QPalette white = area->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    area->setPalette(white);

    EIN = MaskField(area, "EIN", tr("Submitter's Employer Identification Number (EIN)"), kEinLayout);
    UserID = TextField(area, "UserID",
                       tr("BSO User ID assigned to the employee who is attesting to the accuracy of the EFW2 file"), 8);
    ResubInd = Named(new TCheckBoxEdit(area), "ResubInd", tr("Check if the file is being resubmitted"));
    ResubID = TextField(area, "ResubID", tr("and enter the Wage File Identifier from SSA notice"), 6, CharCase::Normal);
    CompanyName = TextField(area, "CompanyName", tr("Company Name"), 57);
    LocationAddr = TextField(area, "LocationAddr", tr("Location address (Floor, Suite or Room number)"), 22);
    DeliveryAddr = TextField(area, "DeliveryAddr", tr("Delivery address"), 22);
    City = TextField(area, "City", tr("City"), 22);
    StateCode = StateField(area, "StateCode", tr("State"));
    ZipCode = TextField(area, "ZipCode", tr("Zip Code"), 5, CharCase::Normal, "[0..9]");
    ZipCodeExt = TextField(area, "ZipCodeExt", tr("Zip Code extension"), 4, CharCase::Normal, "[0..9]");
    ForeignState = TextField(area, "ForeignState", tr("Foreign State or Province"), 23);
    ForeignZip = TextField(area, "ForeignZip", tr("Foreign Postal Code"), 15);
    CountryCode = TextField(area, "CountryCode", tr("Country Code (if U.S. state or possession, leave blank)"), 2,
                            CharCase::Upper, "[A..Z]");
    BtnViewCountryCodes = ColumnButton(area, "BtnViewCountryCodes", tr("&View Country Codes"),
                                       tr("Show the list of the country codes"));
    SubmitName = TextField(area, "SubmitName", tr("Submitter Name"), 57);
    SubmitAddr1 =
        TextField(area, "SubmitAddr1", tr("Submitter's Location address (Floor, Suite or Room number)"), 22);
    SubmitAddr2 = TextField(area, "SubmitAddr2", tr("Submitter's Delivery address"), 22);
    SubmitCity = TextField(area, "SubmitCity", tr("Submitter's City"), 22);
    SubmitState = StateField(area, "SubmitState", tr("Submitter's State"));
    SubmitZip = TextField(area, "SubmitZip", tr("Submitter's Zip Code"), 5, CharCase::Normal, "[0..9]");
    SubmitZipExt = TextField(area, "SubmitZipExt", tr("Submitter's Zip Code extension"), 4, CharCase::Normal, "[0..9]");
    SubmitFSP = TextField(area, "SubmitFSP", tr("Submitter's Foreign State or Province"), 23);
    SubmitFPC = TextField(area, "SubmitFPC", tr("Submitter's Foreign Postal Code"), 15);
    SubmitCC = TextField(area, "SubmitCC", tr("Submitter's Country Code (if U.S. state or possession, leave blank)"),
                         2, CharCase::Upper, "[A..Z]");
    ContactName =
        TextField(area, "ContactName", tr("Person to be contacted by SSA concerning processing problems"), 27);
    ContactPhone = MaskField(area, "ContactPhone", tr("Contact Person's telephone number"), kPhoneLayout);
    ContactExt = TextField(area, "ContactExt", tr("Contact Person's telephone extension"), 5, CharCase::Normal, "[0..9]");
    ContactEmail = TextField(area, "ContactEmail", tr("Contact Person's e-mail/internet address"), 40, CharCase::Normal);
    ContactFax = TextField(area, "ContactFax", tr("Contact Person's fax number if applicable"), 12, CharCase::Normal,
                           "[0..9,-]");
    PreparerCode = TextField(area, "PreparerCode", tr("Preparer Code"), 1, CharCase::Upper, "[A,L,S,P,O]");
    PreparerCode->setAlignment(Qt::AlignCenter);

    auto dash = [area] { return new QLabel(QStringLiteral("-"), area); };
    auto* note = new QLabel(tr("Click View Country Codes Above"), area);
    note->setObjectName(QStringLiteral("LblViewCountryCodes"));
    struct Row {
        QString caption;
        std::initializer_list<QWidget*> controls;
    };
    const Row rows[] = {
        {EIN->accessibleName(), {EIN}},
        {UserID->accessibleName(), {UserID}},
        {ResubInd->accessibleName(), {ResubInd}},
        {ResubID->accessibleName(), {ResubID}},
        {CompanyName->accessibleName(), {CompanyName}},
        {LocationAddr->accessibleName(), {LocationAddr}},
        {DeliveryAddr->accessibleName(), {DeliveryAddr}},
        {City->accessibleName(), {City}},
        {StateCode->accessibleName(), {StateCode}},
        {tr(kZipCaption), {ZipCode, dash(), ZipCodeExt}},
        {ForeignState->accessibleName(), {ForeignState}},
        {ForeignZip->accessibleName(), {ForeignZip}},
        {CountryCode->accessibleName(), {CountryCode, BtnViewCountryCodes}},
        {SubmitName->accessibleName(), {SubmitName}},
        {SubmitAddr1->accessibleName(), {SubmitAddr1}},
        {SubmitAddr2->accessibleName(), {SubmitAddr2}},
        {SubmitCity->accessibleName(), {SubmitCity}},
        {SubmitState->accessibleName(), {SubmitState}},
        {tr(kSubmitZipCaption), {SubmitZip, dash(), SubmitZipExt}},
        {SubmitFSP->accessibleName(), {SubmitFSP}},
        {SubmitFPC->accessibleName(), {SubmitFPC}},
        {SubmitCC->accessibleName(), {SubmitCC, note}},
        {ContactName->accessibleName(), {ContactName}},
        {tr(kPhoneCaption), {ContactPhone, ContactExt}},
        {ContactEmail->accessibleName(), {ContactEmail}},
        {tr("Contact Person's  fax number if applicable"), {ContactFax}},
        {tr(kPreparerCaption) + QLatin1Char('\n') + tr(kPreparerCodes), {PreparerCode}},
    };

    auto* grid = new QGridLayout(area);
    grid->setColumnStretch(0, 1);
    int line = 0;
    for (const Row& row : rows) {
        auto* label = new QLabel(row.caption, area);
        label->setWordWrap(true);
        label->setMaximumWidth(330);
        // A short caption stays on one line; only the long ones wrap.
        label->setMinimumWidth(std::min(label->fontMetrics().horizontalAdvance(row.caption) + 8, 240));
        label->setBuddy(*row.controls.begin());
        auto* captionCell = new QHBoxLayout;
        captionCell->addWidget(label);
        captionCell->addWidget(new DotLeader(area), 1, Qt::AlignBottom);
        auto* fieldCell = new QHBoxLayout;
        for (QWidget* control : row.controls) fieldCell->addWidget(control);
        fieldCell->addStretch(1);
        grid->addLayout(captionCell, line, 0);
        grid->addLayout(fieldCell, line, 1);
        ++line;
    }
    grid->setRowStretch(line, 1);

    // The fields in tab order, each with the settings field that keeps it.
    bindings_ = {
        {EIN, &SubmitterRecord::EIN},
        {UserID, &SubmitterRecord::UserID},
        {ResubInd, nullptr},
        {ResubID, &SubmitterRecord::ResubID},
        {CompanyName, &SubmitterRecord::CompanyName},
        {LocationAddr, &SubmitterRecord::LocationAddr},
        {DeliveryAddr, &SubmitterRecord::DeliveryAddr},
        {City, &SubmitterRecord::City},
        {StateCode, &SubmitterRecord::StateCode},
        {ZipCode, &SubmitterRecord::ZipCode},
        {ZipCodeExt, &SubmitterRecord::ZipCodeExt},
        {ForeignState, &SubmitterRecord::ForeignState},
        {ForeignZip, &SubmitterRecord::ForeignZip},
        {CountryCode, &SubmitterRecord::CountryCode},
        {SubmitName, &SubmitterRecord::SubmitName},
        {SubmitAddr1, &SubmitterRecord::SubmitAddr1},
        {SubmitAddr2, &SubmitterRecord::SubmitAddr2},
        {SubmitCity, &SubmitterRecord::SubmitCity},
        {SubmitState, &SubmitterRecord::SubmitState},
        {SubmitZip, &SubmitterRecord::SubmitZip},
        {SubmitZipExt, &SubmitterRecord::SubmitZipExt},
        {SubmitFSP, &SubmitterRecord::SubmitFSP},
        {SubmitFPC, &SubmitterRecord::SubmitFPC},
        {SubmitCC, &SubmitterRecord::SubmitCC},
        {ContactName, &SubmitterRecord::ContactName},
        {ContactPhone, &SubmitterRecord::ContactPhone},
        {ContactExt, &SubmitterRecord::ContactExt},
        {ContactEmail, &SubmitterRecord::ContactEmail},
        {ContactFax, &SubmitterRecord::ContactFax},
        {PreparerCode, &SubmitterRecord::PreparerCode},
    };
    for (std::size_t k = 0; k < bindings_.size(); ++k) {
        ConnectVisit(
            bindings_[k].field, this, [this](QWidget* field) { FieldEnter(field); },
            [this](QWidget* field) { FieldExit(field); });
        if (k > 0) setTabOrder(bindings_[k - 1].field, bindings_[k].field);
    }
    connect(ResubInd, &QLineEdit::textChanged, this, &TFrmEFW2::ResubIndChanged);
    ConnectCommand(BtnViewCountryCodes, &QPushButton::clicked, this, &TFrmEFW2::BtnViewCountryCodesClick);

    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setWidget(area);
    ScrollBox->setWidgetResizable(true);
    ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox->setFocusPolicy(Qt::NoFocus);
    return ScrollBox;
}

QWidget* TFrmEFW2::BuildRightColumn() {
    auto* column = new QWidget(this);
    column->setFixedWidth(250);
    BtnHelp = ColumnButton(column, "BtnHelp", tr("&Help"), tr("Obtain help on completing this Form"));
    BtnProcess = ColumnButton(column, "BtnProcess", tr("&Process"), tr("Process the Form and create EFW2 file"));
    BtnReset = ColumnButton(column, "BtnReset", tr("&Reset"), tr("Reset the EFW2 file creation process"));
    BtnClose = ColumnButton(column, "BtnClose", tr("&Close"),
                            tr("Closes the Form without processing, but your data will be saved"));

    GroupBox = Named(new QGroupBox(tr("Exclude the following records"), column), "GroupBox",
                     tr("Exclude the following records"));
    ChkSubmitter = Named(new QCheckBox(tr("Submitter"), GroupBox), "ChkSubmitter", tr("Submitter"));
    ChkFinal = Named(new QCheckBox(tr("Final"), GroupBox), "ChkFinal", tr("Final"));
    for (QCheckBox* box : {ChkSubmitter, ChkFinal}) box->setFocusPolicy(Qt::NoFocus);
    auto* boxes = new QHBoxLayout(GroupBox);
    boxes->addWidget(ChkSubmitter);
    boxes->addWidget(ChkFinal);

    MemoClientsProcessed = Named(new QPlainTextEdit(column), "MemoClientsProcessed", tr("Clients Processed:"));
    MemoClientsProcessed->setReadOnly(true);
    MemoClientsProcessed->setFocusPolicy(Qt::NoFocus);
    TotalClients = TotalField(column, "TotalClients", tr("Total Forms W-3 Processed:"));
    TotalRecords = TotalField(column, "TotalRecords", tr("Total Forms W-2 Processed:"));
    FW3Amount1 = Named(new TDollarEdit(column), "FW3Amount1", tr("Total Wages, tips, other compensation Processed:"));
    FW3Amount1->SetDollarDigits(12);
    FW3Amount1->SetCentDigits(2);
    FW3Amount1->SetCurrency(true);
    FW3Amount1->setReadOnly(true);
    FW3Amount1->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(column);
    for (QPushButton* button : {BtnHelp, BtnProcess, BtnReset}) layout->addWidget(button);
    layout->addWidget(GroupBox);
    layout->addWidget(new QLabel(tr("Clients Processed:"), column));
    layout->addWidget(MemoClientsProcessed, 1);
    LblTotalRecords = Named(new QLabel(TotalClients->accessibleName(), column), "LblTotalRecords",
                            TotalClients->accessibleName());
    layout->addWidget(LblTotalRecords);
    layout->addWidget(TotalClients);
    layout->addWidget(new QLabel(TotalRecords->accessibleName(), column));
    layout->addWidget(TotalRecords);
    auto* wagesCaption = new QLabel(FW3Amount1->accessibleName(), column);
    wagesCaption->setWordWrap(true);
    layout->addWidget(wagesCaption);
    layout->addWidget(FW3Amount1);
    layout->addWidget(BtnClose);

    ConnectCommand(BtnHelp, &QPushButton::clicked, this, &TFrmEFW2::BtnHelpClick);
    ConnectCommand(BtnProcess, &QPushButton::clicked, this, &TFrmEFW2::BtnProcessClick);
    ConnectCommand(BtnReset, &QPushButton::clicked, this, &TFrmEFW2::BtnResetClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(ChkSubmitter, &QCheckBox::clicked, this,
            [this](bool checked) { RunCommand([&] { ChkSubmitterClick(checked); }); });
    connect(ChkFinal, &QCheckBox::clicked, this, [this](bool checked) { RunCommand([&] { ChkFinalClick(checked); }); });
    return column;
}

void TFrmEFW2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (centred_) return;
    centred_ = true;
    if (QScreen* screen = QApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
}

// ---- Opening and closing ----

void TFrmEFW2::FormShow() {
    run_.Open();
    FillWindowFromSettings();
    ColorValidatedFields();
    ShowRunState();
    CurClientPanel->setText(Text(run_.CurrentClientCaption()));
    EIN->setFocus();
}

void TFrmEFW2::reject() {
    if (FormClose()) QDialog::reject();
}

bool TFrmEFW2::FormClose() {
    bool closed = false;
    RunCommand([this, &closed] {
        CopyWindowToSettings();
        run_.Close();
        closed = true;
    });
    return closed;
}

void TFrmEFW2::FillWindowFromSettings() {
    SubmitterRecord& settings = run_.Settings();
    for (const Binding& binding : bindings_)
        if (binding.member) SetFieldText(binding.field, Text(settings.*binding.member));
    ResubInd->SetChecked(settings.Resubmitted());
    ChkSubmitter->setChecked(run_.SubmitterChecked());
    ChkFinal->setChecked(run_.FinalChecked());
}

void TFrmEFW2::CopyWindowToSettings() {
    SubmitterRecord& settings = run_.Settings();
    for (const Binding& binding : bindings_)
        if (binding.member) settings.*binding.member = FieldText(binding.field).toStdString();
    settings.SetResubmitted(ResubInd->Checked());
}

// What the run makes available, its totals and its clients.
void TFrmEFW2::ShowRunState() {
    BtnProcess->setEnabled(run_.ProcessEnabled());
    BtnReset->setEnabled(run_.ResetEnabled());
    ChkSubmitter->setChecked(run_.SubmitterChecked());
    ChkFinal->setChecked(run_.FinalChecked());
    ChkSubmitter->setEnabled(run_.SubmitterEnabled());
    ChkFinal->setEnabled(run_.FinalEnabled());
    const SubmitterRecord& settings = run_.Settings();
    TotalClients->setText(QString::number(settings.ClientsProcessed));
    TotalRecords->setText(QString::number(settings.FormsW2Processed));
    FW3Amount1->SetValue(settings.WagesProcessed);
    QStringList clients;
    for (const std::string& name : run_.ClientsList()) clients << Text(name);
    MemoClientsProcessed->setPlainText(clients.join(QLatin1Char('\n')));
    ProcessHint->setText(Text(run_.ProcessHint()));
    ShowEfw2Files();
}

// The payer's client file once it exists, and the master file while this run collects
// clients in it (written when the window closes).
void TFrmEFW2::ShowEfw2Files() {
    QStringList lines;
    const QFileInfo client(Text(run_.ClientFile()));
    if (client.isFile()) lines << tr("Client file: %1").arg(QDir::toNativeSeparators(client.absoluteFilePath()));
    if (run_.InMasterFile())
        lines << tr("Master file (written when this window closes): %1")
                     .arg(QDir::toNativeSeparators(QFileInfo(Text(run_.Paths().MasterFile())).absoluteFilePath()));
    Efw2Files->setText(lines.join(QLatin1Char('\n')));
    Efw2Files->setVisible(!lines.isEmpty());
    BtnOpenFolder->setVisible(!lines.isEmpty());
}

void TFrmEFW2::BtnOpenFolderClick() {
    const std::string folder = run_.Paths().efw2Dir;
    if (!OpenDocument(folder)) ShowMsg("No program is set up to open~" + folder, mbError);
}

// ---- Field colours ----

void TFrmEFW2::FieldEnter(QWidget* field) {
    colorOnEntry_[field] = HighlightField(field);
}

void TFrmEFW2::FieldExit(QWidget* field) {
    SetFieldColor(field, colorOnEntry_.value(field, windowColor_));
    CopyWindowToSettings();
    ColorValidatedFields();
}

// Marks the fields that would stop Process; the focused field keeps its highlight.
void TFrmEFW2::ColorValidatedFields() {
    ResubID->setEnabled(ResubInd->Checked());
    const std::vector<std::string> marked = run_.MarkedFields();
    for (const Binding& binding : bindings_) {
        if (binding.field == ResubInd) continue;
        const bool isMarked =
            std::find(marked.begin(), marked.end(), binding.field->objectName().toStdString()) != marked.end();
        const QColor color = isMarked ? MarkColor() : windowColor_;
        if (binding.field->hasFocus()) colorOnEntry_[binding.field] = color;
        else SetFieldColor(binding.field, color);
    }
}

// ResubID is open exactly while ResubInd is checked; opened at once, so that the next
// Enter or Tab reaches it.
void TFrmEFW2::ResubIndChanged() { ResubID->setEnabled(ResubInd->Checked()); }

// ---- Commands ----

void TFrmEFW2::BtnProcessClick() {
    CopyWindowToSettings();
    run_.Process();
    ShowRunState();
    // What was written is audited at once: a finding in our own output is the program's
    // fault, one in the user's data is shown before the file is uploaded.
    const Efw2Run::ProcessedFileAudit audit = run_.AuditProcessed();
    ShowEfw2Audit(audit.file, audit.result, this);
}

void TFrmEFW2::BtnResetClick() {
    run_.Reset();
    ShowRunState();
}

void TFrmEFW2::ChkSubmitterClick(bool checked) { ChkSubmitter->setChecked(run_.ClickSubmitter(checked)); }

void TFrmEFW2::ChkFinalClick(bool checked) { ChkFinal->setChecked(run_.ClickFinal(checked)); }

void TFrmEFW2::BtnViewCountryCodesClick() {
    const std::string document = run_.Paths().programDir + kCountryCodesFile;
    if (!QFileInfo(Text(document)).isFile()) {
        ShowMsg(kCountryCodesMissing, mbError);
        return;
    }
    if (!OpenDocument(document)) ShowMsg("No program is set up to open~" + document, mbError);
}

void TFrmEFW2::BtnHelpClick() { ShowHelpTopic(kHelpTopic); }

}  // namespace qnvr
