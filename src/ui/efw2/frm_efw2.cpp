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
#include <type_traits>
#include <variant>
#include <vector>

#include "core/base/prompter.h"
#include "core/efw2/submitter_record.h"
#include "platform/shell.h"
#include "ui/base/alt_keys.h"
#include "ui/base/dialog_buttons.h"
#include "ui/base/error_display.h"
#include "ui/base/help_window.h"
#include "ui/efw2/frm_efw2_audit.h"
#include "ui/entry/check_box_edit.h"
#include "ui/entry/record_fields.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/enter_as_tab.h"
#include "ui/entry/field_color.h"
#include "ui/entry/field_text.h"
#include "ui/entry/field_visit.h"
#include "ui/entry/filter_edit.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/state_edit.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

constexpr int kHelpTopic = 19;
constexpr const char* kCaption = "EFW2 - Submitter Information and File Creation Version 2026.00";
constexpr const char* kZipCaption = "Zip Code and Zip Code extension (extension is optional)";
constexpr const char* kSubmitZipCaption = "Submitter's Zip Code and Zip Code extension (extension is optional)";
constexpr const char* kPhoneCaption = "Contact Person's telephone number and extension";
constexpr const char* kPreparerRowCaption =
    "Preparer Code. Enter one of the following codes to indicate who prepared the EFW2 file:\n"
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

// The window member a submitter field is kept in; its type is the kind of control.
using FieldMember = std::variant<TFilterEdit* TFrmEFW2::*, TMaskEdit* TFrmEFW2::*, TStateEdit* TFrmEFW2::*,
                                 TCheckBoxEdit* TFrmEFW2::*>;

// What follows a field on its row.
enum class Beside { Nothing, Dash, CountryCodesButton, CountryCodesNote };

// One submitter field. The objectName is also the name of the settings field that keeps
// it; the check box ResubInd is kept as the resubmission flag instead.
struct SubmitterField {
    FieldMember member;
    const char* name;
    const char* caption;  // the field's accessible name, and its row's caption
    int maxLength = 0;    // text fields
    CharCase charCase = CharCase::Upper;
    const char* validChars = "[]";
    const char* mask = nullptr;        // masked fields: the mask's layout
    const char* rowCaption = nullptr;  // the row's caption, when it is not the field's own
    bool sameRow = false;              // on the row of the field before it
    Beside after = Beside::Nothing;
};

// Every submitter field, in tab order and in the order of the rows.
const SubmitterField kSubmitterFields[] = {
    {.member = &TFrmEFW2::EIN, .name = "EIN", .caption = "Submitter's Employer Identification Number (EIN)",
     .mask = kEinLayout},
    {.member = &TFrmEFW2::UserID, .name = "UserID",
     .caption = "BSO User ID assigned to the employee who is attesting to the accuracy of the EFW2 file",
     .maxLength = 8},
    {.member = &TFrmEFW2::ResubInd, .name = "ResubInd", .caption = "Check if the file is being resubmitted"},
    {.member = &TFrmEFW2::ResubID, .name = "ResubID", .caption = "and enter the Wage File Identifier from SSA notice",
     .maxLength = 6, .charCase = CharCase::Normal},
    {.member = &TFrmEFW2::CompanyName, .name = "CompanyName", .caption = "Company Name", .maxLength = 57},
    {.member = &TFrmEFW2::LocationAddr, .name = "LocationAddr",
     .caption = "Location address (Floor, Suite or Room number)", .maxLength = 22},
    {.member = &TFrmEFW2::DeliveryAddr, .name = "DeliveryAddr", .caption = "Delivery address", .maxLength = 22},
    {.member = &TFrmEFW2::City, .name = "City", .caption = "City", .maxLength = 22},
    {.member = &TFrmEFW2::StateCode, .name = "StateCode", .caption = "State"},
    {.member = &TFrmEFW2::ZipCode, .name = "ZipCode", .caption = "Zip Code", .maxLength = 5,
     .charCase = CharCase::Normal, .validChars = "[0..9]", .rowCaption = kZipCaption, .after = Beside::Dash},
    {.member = &TFrmEFW2::ZipCodeExt, .name = "ZipCodeExt", .caption = "Zip Code extension", .maxLength = 4,
     .charCase = CharCase::Normal, .validChars = "[0..9]", .sameRow = true},
    {.member = &TFrmEFW2::ForeignState, .name = "ForeignState", .caption = "Foreign State or Province",
     .maxLength = 23},
    {.member = &TFrmEFW2::ForeignZip, .name = "ForeignZip", .caption = "Foreign Postal Code", .maxLength = 15},
    {.member = &TFrmEFW2::CountryCode, .name = "CountryCode",
     .caption = "Country Code (if U.S. state or possession, leave blank)", .maxLength = 2, .validChars = "[A..Z]",
     .after = Beside::CountryCodesButton},
    {.member = &TFrmEFW2::SubmitName, .name = "SubmitName", .caption = "Submitter Name", .maxLength = 57},
    {.member = &TFrmEFW2::SubmitAddr1, .name = "SubmitAddr1",
     .caption = "Submitter's Location address (Floor, Suite or Room number)", .maxLength = 22},
    {.member = &TFrmEFW2::SubmitAddr2, .name = "SubmitAddr2", .caption = "Submitter's Delivery address",
     .maxLength = 22},
    {.member = &TFrmEFW2::SubmitCity, .name = "SubmitCity", .caption = "Submitter's City", .maxLength = 22},
    {.member = &TFrmEFW2::SubmitState, .name = "SubmitState", .caption = "Submitter's State"},
    {.member = &TFrmEFW2::SubmitZip, .name = "SubmitZip", .caption = "Submitter's Zip Code", .maxLength = 5,
     .charCase = CharCase::Normal, .validChars = "[0..9]", .rowCaption = kSubmitZipCaption, .after = Beside::Dash},
    {.member = &TFrmEFW2::SubmitZipExt, .name = "SubmitZipExt", .caption = "Submitter's Zip Code extension",
     .maxLength = 4, .charCase = CharCase::Normal, .validChars = "[0..9]", .sameRow = true},
    {.member = &TFrmEFW2::SubmitFSP, .name = "SubmitFSP", .caption = "Submitter's Foreign State or Province",
     .maxLength = 23},
    {.member = &TFrmEFW2::SubmitFPC, .name = "SubmitFPC", .caption = "Submitter's Foreign Postal Code",
     .maxLength = 15},
    {.member = &TFrmEFW2::SubmitCC, .name = "SubmitCC",
     .caption = "Submitter's Country Code (if U.S. state or possession, leave blank)", .maxLength = 2,
     .validChars = "[A..Z]", .after = Beside::CountryCodesNote},
    {.member = &TFrmEFW2::ContactName, .name = "ContactName",
     .caption = "Person to be contacted by SSA concerning processing problems", .maxLength = 27},
    {.member = &TFrmEFW2::ContactPhone, .name = "ContactPhone", .caption = "Contact Person's telephone number",
     .mask = kPhoneLayout, .rowCaption = kPhoneCaption},
    {.member = &TFrmEFW2::ContactExt, .name = "ContactExt", .caption = "Contact Person's telephone extension",
     .maxLength = 5, .charCase = CharCase::Normal, .validChars = "[0..9]", .sameRow = true},
    {.member = &TFrmEFW2::ContactEmail, .name = "ContactEmail", .caption = "Contact Person's e-mail/internet address",
     .maxLength = 40, .charCase = CharCase::Normal},
    {.member = &TFrmEFW2::ContactFax, .name = "ContactFax", .caption = "Contact Person's fax number if applicable",
     .maxLength = 12, .charCase = CharCase::Normal, .validChars = "[0..9,-]",
     .rowCaption = "Contact Person's  fax number if applicable"},
    {.member = &TFrmEFW2::PreparerCode, .name = "PreparerCode", .caption = "Preparer Code", .maxLength = 1,
     .validChars = "[A,L,S,P,O]", .rowCaption = kPreparerRowCaption},
};

// Each kind of control made as its table row says.
void MakeField(TFilterEdit*& field, QWidget* parent, const SubmitterField& spec, const QString& caption) {
    field = TextField(parent, spec.name, caption, spec.maxLength, spec.charCase, spec.validChars);
}
void MakeField(TMaskEdit*& field, QWidget* parent, const SubmitterField& spec, const QString& caption) {
    field = MaskField(parent, spec.name, caption, spec.mask);
}
void MakeField(TStateEdit*& field, QWidget* parent, const SubmitterField& spec, const QString& caption) {
    field = StateField(parent, spec.name, caption);
}
void MakeField(TCheckBoxEdit*& field, QWidget* parent, const SubmitterField& spec, const QString& caption) {
    field = Named(new TCheckBoxEdit(parent), spec.name, caption);
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

    // One row of the grid: its caption, and its controls from left to right.
    struct Row {
        QString caption;
        std::vector<QWidget*> controls;
    };
    std::vector<Row> rows;
    bindings_.clear();
    for (const SubmitterField& spec : kSubmitterFields) {
        const QString caption = tr(spec.caption);
        QWidget* field = std::visit(
            [&](auto member) -> QWidget* {
                MakeField(this->*member, area, spec, caption);
                return this->*member;
            },
            spec.member);
        if (!spec.sameRow) rows.push_back({spec.rowCaption ? tr(spec.rowCaption) : caption, {}});
        rows.back().controls.push_back(field);
        switch (spec.after) {
            case Beside::Nothing: break;
            case Beside::Dash: rows.back().controls.push_back(new QLabel(QStringLiteral("-"), area)); break;
            case Beside::CountryCodesButton:
                BtnViewCountryCodes = ColumnButton(area, "BtnViewCountryCodes", tr("&View Country Codes"),
                                                   tr("Show the list of the country codes"));
                rows.back().controls.push_back(BtnViewCountryCodes);
                break;
            case Beside::CountryCodesNote: {
                auto* note = new QLabel(tr("Click View Country Codes Above"), area);
                note->setObjectName(QStringLiteral("LblViewCountryCodes"));
                rows.back().controls.push_back(note);
                break;
            }
        }
        // The check box has no text setting of its own: it is kept as the resubmission flag.
        const bool kept = !std::holds_alternative<TCheckBoxEdit* TFrmEFW2::*>(spec.member);
        bindings_.push_back({field, kept ? LayoutFieldNamed(SubmitterLayout(), spec.name) : nullptr});
    }
    PreparerCode->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout(area);
    grid->setColumnStretch(0, 1);
    int line = 0;
    for (const Row& row : rows) {
        auto* label = new QLabel(row.caption, area);
        label->setWordWrap(true);
        label->setMaximumWidth(330);
        // A short caption stays on one line; only the long ones wrap.
        label->setMinimumWidth(std::min(label->fontMetrics().horizontalAdvance(row.caption) + 8, 240));
        label->setBuddy(row.controls.front());
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
        if (binding.setting) SetFieldText(binding.field, Text(*std::get<std::string*>(binding.setting->Of(settings))));
    ResubInd->SetChecked(settings.Resubmitted());
    ChkSubmitter->setChecked(run_.SubmitterChecked());
    ChkFinal->setChecked(run_.FinalChecked());
}

void TFrmEFW2::CopyWindowToSettings() {
    SubmitterRecord& settings = run_.Settings();
    for (const Binding& binding : bindings_)
        if (binding.setting) *std::get<std::string*>(binding.setting->Of(settings)) = FieldText(binding.field).toStdString();
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
    if (!platform::OpenDocument(folder)) ShowMsg(PortsOf(this).prompter, "No program is set up to open~" + folder, MsgStyle::Error);
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
        ShowMsg(PortsOf(this).prompter, kCountryCodesMissing, MsgStyle::Error);
        return;
    }
    if (!platform::OpenDocument(document)) ShowMsg(PortsOf(this).prompter, "No program is set up to open~" + document, MsgStyle::Error);
}

void TFrmEFW2::BtnHelpClick() { ShowHelpTopic(this, kHelpTopic); }

}  // namespace qnvr
