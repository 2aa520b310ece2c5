#include "ui/entry/frm_w3.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <vector>

#include "core/entry/w3_keys.h"
#include "core/entry/w3_rules.h"
#include "core/store/data_module.h"
#include "forms/form_jobs.h"
#include "ui/base/error_display.h"
#include "ui/entry/check_box_edit.h"
#include "ui/entry/date_edit.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/field_text.h"
#include "ui/entry/filter_edit.h"
#include "ui/entry/form_box.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/record_fields.h"
#include "ui/print/preview_hook.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

constexpr int kHelpTopic = 10;
constexpr const char* kCaption = "Form W-3 Transmittal of Wage and Tax Statements 2026";
constexpr const char* kAnyChars = "[]";
constexpr const char* kNameChars = "[A..Z,a..z, ]";

// The kinds of field on the form.
enum class Control {
    Text,       // TFilterEdit
    UpperText,  // TFilterEdit in upper case
    LowerText,  // TFilterEdit in lower case
    Ein,        // masked "99-9999999"
    Phone,      // masked "999-999-9999"
    Date,       // TDateEdit
    Check,      // TCheckBoxEdit
    Money,      // TDollarEdit the user types into
    Total,      // read-only TDollarEdit filled by the totals, skipped by Tab
    Count,      // read-only number of forms (a plain line), skipped by Tab
};

struct FieldSpec {
    const char* name;
    const char* caption;  // as the form labels the box; the field's accessible name
    Control control;
    int size = 0;  // characters of a text, dollar digits of an amount
    const char* validChars = kAnyChars;
};

// Every field of the form, in tab order.
const FieldSpec kW3Fields[] = {
    {"Boxa", "a Control number", Control::UpperText, 10, "[A..Z,0..9,-]"},
    {"Boxb1", "Kind of Payer: 941", Control::Check},
    {"Boxb2", "Kind of Payer: Military", Control::Check},
    {"Boxb3", "Kind of Payer: 943", Control::Check},
    {"Boxb4", "Kind of Payer: 944", Control::Check},
    {"Boxb5", "Kind of Payer: CT-1", Control::Check},
    {"Boxb6", "Kind of Payer: Hsld. Emp.", Control::Check},
    {"Boxb7", "Kind of Payer: Medicare govt. emp.", Control::Check},
    {"Boxb8", "Kind of Employer: None apply", Control::Check},
    {"Boxb9", "Kind of Employer: 501c non-govt", Control::Check},
    {"Boxb10", "Kind of Employer: State/local non-501c", Control::Check},
    {"Boxb11", "Kind of Employer: State/local 501c", Control::Check},
    {"Boxb12", "Kind of Employer: Federal govt.", Control::Check},
    {"Boxb13", "Third-party sick pay: (Check if applicable)", Control::Check},
    {"Boxc", "c Total number of Forms W-2", Control::Count},
    {"Boxd", "d Establishment number", Control::Text, 4, "[0..9]"},
    {"Amount1", "1 Wages, tips, other compensation", Control::Total, 12},
    {"Amount2", "2 Federal income tax withheld", Control::Total, 12},
    {"Boxe", "e Employer identification number (EIN)", Control::Ein},
    {"Amount3", "3 Social security wages", Control::Total, 12},
    {"Amount4", "4 Social security tax withheld", Control::Total, 12},
    {"Boxf_a", "f Employer's name", Control::Text, 40},
    {"Amount5", "5 Medicare wages and tips", Control::Total, 12},
    {"Amount6", "6 Medicare tax withheld", Control::Total, 12},
    {"Boxf_b", "f Employer's trade name", Control::Text, 40},
    {"Boxg_a", "g Employer's street address", Control::Text, 22},
    {"Boxg_b", "g Employer's city", Control::Text, 22},
    {"Boxg_c", "g Employer's state", Control::UpperText, 2, "[A..Z]"},
    {"Boxg_d", "g Employer's ZIP code", Control::Text, 10, "[0..9,-]"},
    {"Amount7", "7 Social security tips", Control::Total, 12},
    {"Amount8", "8 Allocated tips", Control::Total, 12},
    {"Amount10", "10 Dependent care benefits", Control::Total, 12},
    {"Amount11", "11 Nonqualified plans", Control::Total, 12},
    {"Box12a", "12a Deferred compensation", Control::Total, 12},
    {"Boxh", "h Other EIN used this year", Control::Ein},
    {"Box13", "13 For third-party sick pay use only", Control::Text, 30},
    {"Box15", "15 State", Control::UpperText, 2, "[A..Z]"},
    {"StateID", "15 Employer's state ID number", Control::Text, 12, "[0..9]"},
    {"Box14", "14 Income tax withheld by payer of third-party sick pay", Control::Money, 12},
    {"Box16", "16 State wages, tips, etc.", Control::Total, 9},
    {"Box17", "17 State income tax", Control::Total, 12},
    {"Box18", "18 Local wages, tips, etc.", Control::Total, 12},
    {"Box19", "19 Local income tax", Control::Total, 12},
    {"Contact", "Employer's contact person", Control::Text, 30, kNameChars},
    {"TelNum", "Employer's telephone number", Control::Phone},
    {"Email", "Employer's email address", Control::LowerText, 40},
    {"FaxNum", "Employer's fax number", Control::Phone},
    {"SignerName", "Signature", Control::Text, 30, kNameChars},
    {"Title", "Title", Control::Text, 20, "[A..Z,a..z,-, ]"},
    {"W3Date", "Date", Control::Date},
    {"FinalReturn", "Check here if your business has closed or you stopped paying wages.", Control::Check},
};

// Fields the window shows but never stores: the totals and the count of forms.
bool IsComputed(Control control) { return control == Control::Total || control == Control::Count; }

const FieldSpec* SpecNamed(std::string_view name) {
    for (const FieldSpec& spec : kW3Fields)
        if (name == spec.name) return &spec;
    return nullptr;
}

// The part of a check field's caption after its group's name ("941").
QString ShortCaption(const QWidget* field) { return field->accessibleName().section(QStringLiteral(": "), 1); }

QWidget* MakeField(const FieldSpec& spec, QWidget* parent) {
    switch (spec.control) {
        case Control::Ein: return new TMaskEdit(QString::fromLatin1(kEinLayout), parent);
        case Control::Phone: return new TMaskEdit(QString::fromLatin1(kPhoneLayout), parent);
        case Control::Date: return new TDateEdit(parent);
        case Control::Check: return new TCheckBoxEdit(parent);
        case Control::Count: {
            auto* count = new QLineEdit(parent);
            count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            count->setReadOnly(true);
            count->setFocusPolicy(Qt::ClickFocus);  // skipped by Tab
            return count;
        }
        case Control::Money:
        case Control::Total: {
            auto* money = new TDollarEdit(parent);
            money->SetDollarDigits(spec.size);
            money->SetCentDigits(2);
            money->SetMinusKey(false);  // no box of the W-3 holds a negative amount
            if (spec.control == Control::Total) {
                money->setReadOnly(true);
                money->setFocusPolicy(Qt::ClickFocus);  // skipped by Tab
            }
            return money;
        }
        case Control::Text:
        case Control::UpperText:
        case Control::LowerText: break;
    }
    auto* text = new TFilterEdit(parent);
    text->setMaxLength(spec.size);
    text->SetValidChars(QString::fromLatin1(spec.validChars));
    if (spec.control == Control::UpperText) text->SetCase(CharCase::Upper);
    if (spec.control == Control::LowerText) text->SetCase(CharCase::Lower);
    return text;
}

}  // namespace

TFrmW3::TFrmW3(TFrmDataModule& dm, forms::FormPrinting& printing, QWidget* parent)
    : TEntryWindow(QStringLiteral("TFrmW3"), tr(kCaption), kHelpTopic, parent), dm_(dm), printing_(printing) {
    BuildFields();
    Arrange({BuildForm(), BuildButtons()});
}

// ---- Building ----------------------------------------------------------------------

// Creates every field of the form from the table; the layout places them afterwards.
void TFrmW3::BuildFields() {
    for (const FieldSpec& spec : kW3Fields)
        AddField(MakeField(spec, this), QString::fromLatin1(spec.name), tr(spec.caption), !IsComputed(spec.control));
    for (int number = 1; number <= 13; ++number)
        FW3Boxb[number] = qobject_cast<TCheckBoxEdit*>(Field(QStringLiteral("Boxb%1").arg(number)));
    for (int number = kKindOfPayer.first; number <= kKindOfEmployer.last; ++number)
        connect(FW3Boxb[number], &QLineEdit::textChanged, this, [this, number] { BoxbChange(number); });

    auto* box15 = qobject_cast<TFilterEdit*>(Field(QStringLiteral("Box15")));
    connect(box15, &QLineEdit::textChanged, this, &TFrmW3::Box15Change);
    auto stateKeys = [this](TFilterEdit& field, QChar& key) { Box15KeyPress(field, key); };
    box15->SetKeyPressHandler(stateKeys);
    qobject_cast<TFilterEdit*>(Field(QStringLiteral("Boxg_c")))->SetKeyPressHandler(stateKeys);
    qobject_cast<TFilterEdit*>(Field(QStringLiteral("Box13")))
        ->SetKeyPressHandler([this](TFilterEdit& field, QChar& key) { Box13KeyPress(field, key); });
}

QWidget* TFrmW3::BuildForm() {
    for (const FieldSpec& spec : kW3Fields) {
        QWidget* field = Field(QString::fromLatin1(spec.name));
        if (spec.control == Control::Money || spec.control == Control::Total) FitFieldWidth(field, spec.size + 5);
        else if (spec.size > 0) FitFieldWidth(field, spec.size);
    }
    auto f = [this](const char* name) { return Field(QString::fromLatin1(name)); };
    // A box captioned as its field's accessible name.
    auto box = [&](QWidget* parent, const char* name) { return FormBox(parent, f(name)->accessibleName(), {{f(name)}}); };
    auto* form = new QWidget(this);
    auto* grid = new QGridLayout(form);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);

    grid->addWidget(box(form, "Boxa"), 0, 0);
    auto* officialUse = FormBox(form, tr("33333    For Official Use Only"), {});
    grid->addWidget(officialUse, 0, 1, 1, 2);
    grid->addWidget(BuildKindBoxes(form), 1, 0, 1, 3);

    // The payer down the left side, the totals two to a row on the right, as on the form.
    grid->addWidget(FormBox(form, tr("c Total number of Forms W-2        d Establishment number"), {{f("Boxc"), f("Boxd")}}),
                    2, 0);
    grid->addWidget(box(form, "Boxe"), 3, 0);
    grid->addWidget(box(form, "Boxf_a"), 4, 0);
    grid->addWidget(box(form, "Boxf_b"), 5, 0);
    grid->addWidget(FormBox(form, tr("g Employer's address and ZIP code"), {{f("Boxg_a")}, {f("Boxg_b"), f("Boxg_c"), f("Boxg_d")}}),
                    6, 0);
    grid->addWidget(box(form, "Boxh"), 7, 0);
    struct Cell {
        const char* field;
        int row, column;
    };
    const Cell kCells[] = {
        {"Amount1", 2, 1}, {"Amount2", 2, 2},  {"Amount3", 3, 1},  {"Amount4", 3, 2}, {"Amount5", 4, 1},
        {"Amount6", 4, 2}, {"Amount7", 5, 1},  {"Amount8", 5, 2},  {"Amount10", 6, 2}, {"Amount11", 7, 1},
        {"Box12a", 7, 2},  {"Box13", 8, 1},    {"Box14", 8, 2},    {"Box16", 9, 1},    {"Box17", 9, 2},
        {"Box18", 10, 1},  {"Box19", 10, 2},   {"TelNum", 11, 1},  {"Email", 12, 1},   {"Title", 13, 1},
        {"W3Date", 13, 2},
    };
    for (const Cell& cell : kCells) grid->addWidget(box(form, cell.field), cell.row, cell.column);
    grid->addWidget(FormBox(form, tr("9"), {}), 6, 1);  // box 9 is not used
    grid->addWidget(FormBox(form, tr("15 State    Employer's state ID number"), {{f("Box15"), f("StateID")}}), 9, 0);
    grid->addWidget(box(form, "Contact"), 11, 0);
    grid->addWidget(box(form, "FaxNum"), 12, 0);
    grid->addWidget(FormBox(form, tr("For Official Use Only"), {}), 11, 2, 2, 1);
    grid->addWidget(FormBox(form, tr("Signature"), {{f("SignerName")}}), 13, 0);

    auto* final = new QWidget(form);
    auto* finalRow = new QHBoxLayout(final);
    auto* finalLabel = FormCaption(f("FinalReturn")->accessibleName(), final);
    finalLabel->setBuddy(f("FinalReturn"));
    finalRow->addWidget(f("FinalReturn"));
    finalRow->addWidget(finalLabel, 1);
    grid->addWidget(final, 14, 0, 1, 3);
    return form;
}

// Box b: the kind of payer, the kind of employer and third-party sick pay, each check
// field under its short caption.
QWidget* TFrmW3::BuildKindBoxes(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(3, 1, 3, 3);
    grid->setHorizontalSpacing(6);
    struct Group {
        const char* caption;
        BoxbGroup boxes;
    };
    const Group kGroups[] = {
        {"b Kind of Payer (Check one)", kKindOfPayer},
        {"Kind of Employer (Check one)", kKindOfEmployer},
        {"Third-party sick pay", BoxbGroupOf(13)},
    };
    int column = 0;
    for (const Group& group : kGroups) {
        grid->addWidget(FormCaption(tr(group.caption), frame), 0, column, 1, group.boxes.last - group.boxes.first + 1);
        for (int number = group.boxes.first; number <= group.boxes.last; ++number, ++column) {
            auto* label = FormCaption(ShortCaption(FW3Boxb[number]), frame);
            label->setBuddy(FW3Boxb[number]);
            label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            grid->addWidget(label, 1, column, Qt::AlignHCenter);
            grid->addWidget(FW3Boxb[number], 2, column, Qt::AlignHCenter);
        }
        ++column;  // a gap between the groups
    }
    return frame;
}

QWidget* TFrmW3::BuildButtons() {
    QHBoxLayout* row = NewButtonRow();
    row->addStretch();
    BtnPrint = AddButton(row, "BtnPrint", tr("&Print"));
    AddCloseAndHelp(row);
    ConnectCommand(BtnPrint, &QPushButton::clicked, this, &TFrmW3::BtnPrintClick);
    return row->parentWidget();
}

// ---- Showing and closing -----------------------------------------------------------

void TFrmW3::FormShow() {
    RptFormW3.emplace(PortsOf(this));
    printing_.SetupFormW3(*RptFormW3);
    RptFormW3->OverridePreview = ReportPreviewHook(this);
    ShowBrowseOnly(dm_.RSW3().BrowseOnly());
    ComputeW3Totals();
    W3RecordToWindow();
    EnableStateID();
    BtnPrint->setEnabled(dm_.CountW2WithWages() > 0);
}

void TFrmW3::ComputeW3Totals() { dm_.ComputeW3Totals(); }

// A record that fails the rules keeps the window open; closing it counts as the review
// of the W-3.
void TFrmW3::FormClose() {
    if (!BrowseOnly()) ValidateFields();  // a browse-only record cannot be put right
    dm_.EntryWindowReviewed(EntryWindow::W3);
    W3WindowToRecord();
    dm_.RSW3().PostRec();
}

// Prints the record as the window shows it; it reaches the file when the window closes.
void TFrmW3::BtnPrintClick() {
    ValidateFields();
    W3WindowToRecord();
    RptFormW3->Execute();
}

// ---- Fields ------------------------------------------------------------------------

// Kind of payer and kind of employer each act as one group of radio buttons: the box
// that changed is checked (a click on the checked box keeps it checked) and the others
// of its group are cleared.
void TFrmW3::BoxbChange(int number) {
    if (checkingGroup_) return;
    checkingGroup_ = true;
    W3Record boxes;
    for (int box = 1; box <= 13; ++box) Boxb(boxes, box) = FW3Boxb[box]->Checked();
    CheckBoxb(boxes, number);
    const BoxbGroup group = BoxbGroupOf(number);
    for (int other = group.first; other <= group.last; ++other) FW3Boxb[other]->SetChecked(Boxb(boxes, other));
    checkingGroup_ = false;
}

void TFrmW3::Box15Change() {
    if (IsMoreThanOneState(FieldText(Field(QStringLiteral("Box15"))).toStdString()))
        SetFieldText(Field(QStringLiteral("StateID")), QString());
    EnableStateID();
}

// A single state has a state ID; "X" (more than one state) has none.
void TFrmW3::EnableStateID() {
    const bool oneState = !IsMoreThanOneState(FieldText(Field(QStringLiteral("Box15"))).toStdString());
    Field(QStringLiteral("StateID"))->setEnabled(oneState);
}

void TFrmW3::Box15KeyPress(TFilterEdit& field, QChar& key) {
    const StateFieldKey result = W3StateKey(field.text().toStdString(), key.unicode());
    if (result.text != field.text().toStdString()) field.setText(RecordText(result.text));
    if (!result.passKey) key = QChar();
}

void TFrmW3::Box13KeyPress(TFilterEdit& field, QChar& key) {
    if (const auto filled = Box13Key(field.text().toStdString(), key.unicode())) {
        field.setText(RecordText(*filled));
        key = QChar();
    }
}

// ---- The record --------------------------------------------------------------------

W3Record TFrmW3::WindowRecord() const {
    W3Record record = dm_.W3Rec();
    ReadRecordFields(record, W3Layout(), [this](std::string_view name) -> QWidget* {
        const FieldSpec* spec = SpecNamed(name);
        if (!spec || IsComputed(spec->control)) return nullptr;  // never read back from the window
        return Field(QString::fromLatin1(spec->name));
    });
    record.Boxg_csz = CityStateZipLine(record.Boxg_b, record.Boxg_c, record.Boxg_d);
    return record;
}

void TFrmW3::W3WindowToRecord() { dm_.EditW3Rec(WindowRecord()); }

void TFrmW3::W3RecordToWindow() {
    checkingGroup_ = true;  // loading the boxes is no click
    // Boxg_csz, the reserved boxes and the password have no field.
    ShowRecordFields(dm_.W3Rec(), W3Layout(), [this](std::string_view name) { return Field(RecordText(name)); });
    checkingGroup_ = false;
}

void TFrmW3::ValidateFields() {
    if (const std::optional<RuleFailure> failure = ValidateW3(WindowRecord())) RaiseOnField(*failure);
}

}  // namespace qnvr
