#include "ui/entry/frm_w2.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "core/base/prompter.h"
#include "core/entry/w2_amounts.h"
#include "core/entry/w2_rules.h"
#include "core/store/data_module.h"
#include "forms/form_jobs.h"
#include "ui/base/error_display.h"
#include "ui/entry/check_box_edit.h"
#include "ui/entry/code_pickers.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/field_text.h"
#include "ui/entry/filter_edit.h"
#include "ui/entry/form_box.h"
#include "ui/entry/frm_rec_list.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/record_fields.h"
#include "ui/entry/rs_navigator.h"
#include "ui/entry/state_edit.h"
#include "ui/print/frm_form_type.h"
#include "ui/print/preview_hook.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

constexpr int kHelpTopic = 9;
constexpr const char* kCaption = "Form W-2 Wage and Tax Statement 2026";
constexpr const char* kBox12HintText = " Double click for a list of designated IRS codes ";
constexpr const char* kBox14bHintText = " Double click for a list of designated TTO codes ";
constexpr const char* kBox12CodeChars = "[A..I, J..N, P..T,V,W,Y,Z]";
constexpr const char* kAnyChars = "[]";
constexpr int kBox12VisiblePairs = 6;
constexpr int kBox12RowHeight = 20;
constexpr int kBox12RowGap = 2;

// The kinds of field on the form.
enum class Control { Ssn, Text, UpperText, Code, State, Money, Check };

struct FieldSpec {
    QString name;
    QString caption;  // as the form labels the box; the field's accessible name
    Control control;
    int size = 0;  // characters of a text, dollar digits of an amount
    const char* validChars = kAnyChars;
};

QString Letter(int pair) { return QString(QChar(u'a' + pair - 1)); }

// Every field of the form, in tab order.
std::vector<FieldSpec> W2Fields() {
    std::vector<FieldSpec> fields = {
        {"Boxa", "a Employee's social security number", Control::Ssn},
        {"Boxd", "d Control number", Control::UpperText, 10, "[A..Z,0..9,-]"},
        {"Boxe1", "e Employee's first name", Control::Text, 15, "[A..Z,a..z]"},
        {"Boxe2", "e Middle initial", Control::UpperText, 1, "[A..Z]"},
        {"Boxe3", "e Last name", Control::Text, 20, "[A..Z,a..z, ]"},
        {"Suffix", "Suff.", Control::UpperText, 4, "[J,I,R,V,X]"},
        {"Boxf_a", "f Employee's street address", Control::Text, 22},
        {"Boxf_b", "f City", Control::Text, 22},
        {"Boxf_c", "f State", Control::State},
        {"Boxf_d", "f ZIP code", Control::Text, 10, "[0..9,-]"},
        {"Amount1", "1 Wages, tips, other compensation", Control::Money, 9},
        {"Amount2", "2 Federal income tax withheld", Control::Money, 9},
        {"Amount3", "3 Social security wages", Control::Money, 9},
        {"Amount4", "4 Social security tax withheld", Control::Money, 9},
        {"Amount5", "5 Medicare wages and tips", Control::Money, 9},
        {"Amount6", "6 Medicare tax withheld", Control::Money, 9},
        {"Amount7", "7 Social security tips", Control::Money, 9},
        {"Amount8", "8 Allocated tips", Control::Money, 9},
        {"Amount10", "10 Dependent care benefits", Control::Money, 9},
        {"Amount11", "11 Nonqualified plans", Control::Money, 9},
    };
    for (int pair = 1; pair <= 12; ++pair) {
        const QString box = "12" + Letter(pair);
        fields.push_back({"Box12Code" + QString::number(pair), box + " Code", Control::Code, 2, kBox12CodeChars});
        fields.push_back({"Box12Amt" + QString::number(pair), box + " Amount", Control::Money, 6});
    }
    fields.push_back({"Box13a", "13 Statutory employee", Control::Check});
    fields.push_back({"Box13b", "13 Retirement plan", Control::Check});
    fields.push_back({"Box13c", "13 Third-party sick pay", Control::Check});
    for (int line = 1; line <= 3; ++line) {
        const QString suffix = "_" + Letter(line);
        fields.push_back({"Box14Desc" + suffix, "14 Other, description " + QString::number(line), Control::Text, 8});
        fields.push_back({"Box14Amt" + suffix, "14 Other, amount " + QString::number(line), Control::Money, 6});
    }
    fields.push_back({"Box14bTTOC", "14b Treasury tipped occupation code 1", Control::Code, 3, "[0..9]"});
    fields.push_back({"Box14bTTOC2", "14b Treasury tipped occupation code 2", Control::Code, 3, "[0..9]"});
    for (int line = 1; line <= 2; ++line) {
        const QString s = "_" + Letter(line), n = " " + QString::number(line), l = Letter(line);
        fields.push_back({"Box15" + l, "15 State" + n, Control::State});
        fields.push_back({"StateID" + s, "15 Employer's state ID number" + n, Control::Text, 12, "[0..9]"});
        fields.push_back({"Box16" + l, "16 State wages, tips, etc." + n, Control::Money, 9});
        fields.push_back({"Box17" + l, "17 State income tax" + n, Control::Money, 6});
        fields.push_back({"Box18" + l, "18 Local wages, tips, etc." + n, Control::Money, 9});
        fields.push_back({"Box19" + l, "19 Local income tax" + n, Control::Money, 6});
        fields.push_back({"Box20" + l, "20 Locality name" + n, Control::Text, 6});
    }
    return fields;
}

// The employer's fields: read-only, skipped by Tab, filled from the W-3 record.
struct EmployerField {
    const char* name;
    const char* caption;
    std::string W3Record::*member;
};
const EmployerField kEmployerFields[] = {
    {"W3Boxe", "b Employer identification number (EIN)", &W3Record::Boxe},
    {"W3Boxf_a", "c Employer's name", &W3Record::Boxf_a},
    {"W3Boxf_b", "c Employer's name, second line", &W3Record::Boxf_b},
    {"W3Boxg_a", "c Employer's street address", &W3Record::Boxg_a},
    {"W3Boxg_b", "c Employer's city, state and ZIP code", &W3Record::Boxg_csz},
};

// What the automatic computations do on leaving a field, by field.
struct ExitStep {
    const char* field;
    void (TFrmW2::*step)();
    bool updatesPrintButtons;  // leaving Box 3, 5 and 7 leaves the print buttons alone
};

QWidget* MakeField(const FieldSpec& spec, QWidget* parent) {
    switch (spec.control) {
        case Control::Ssn: return new TMaskEdit(QString::fromLatin1(kSsnLayout), parent);
        case Control::State: return new TStateEdit(parent);
        case Control::Check: return new TCheckBoxEdit(parent);
        case Control::Money: {
            auto* money = new TDollarEdit(parent);
            money->SetDollarDigits(spec.size);
            money->SetCentDigits(2);
            money->SetMinusKey(false);
            return money;
        }
        case Control::Text:
        case Control::UpperText:
        case Control::Code: break;
    }
    auto* text = new TFilterEdit(parent);
    text->setMaxLength(spec.size);
    text->SetValidChars(QString::fromLatin1(spec.validChars));
    if (spec.control != Control::Text) text->SetCase(CharCase::Upper);
    text->setReadOnly(spec.control == Control::Code);  // set only from the code lists
    return text;
}

// A hint by a box, shown while the focus is in the box's code fields. Its room is kept
// while it is hidden: showing it never moves a field (a double-click whose first click
// showed it still lands on the field it began on).
QLabel* HiddenHint(const char* name, const QString& text, QWidget* parent) {
    QLabel* hint = FormCaption(text, parent);
    hint->setObjectName(QString::fromLatin1(name));
    QSizePolicy policy = hint->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    hint->setSizePolicy(policy);
    hint->setVisible(false);
    return hint;
}

// The Box 12 panel brings a pair into view when Tab moves the focus to it. Tab out of
// the panel leaves the panel as the field left behind set it (12l scrolls it back to
// the top); a plain scroll area would scroll back to the field just left.
class Box12ScrollArea final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

protected:
    bool focusNextPrevChild(bool next) override {
        if (!QWidget::focusNextPrevChild(next)) return false;
        QWidget* focused = QApplication::focusWidget();
        if (focused && widget() && widget()->isAncestorOf(focused)) ensureWidgetVisible(focused);
        return true;
    }
};

// After the navigator loads another record under the focused field, the field takes
// typing at once, as when its visit began: its text selected (a money field shows its
// bare amount, and the first key replaces it).
void ReadyForTyping(QWidget* field) {
    if (auto* money = qobject_cast<TDollarEdit*>(field)) money->RestartVisit();
    else if (auto* line = qobject_cast<QLineEdit*>(field)) line->selectAll();
}

}  // namespace

TFrmW2::TFrmW2(TFrmDataModule& dm, forms::FormPrinting& printing, QWidget* parent)
    : TEntryWindow(QStringLiteral("TFrmW2"), tr(kCaption), kHelpTopic, parent), dm_(dm), printing_(printing) {
    BuildFields();
    Arrange({BuildForm(), BuildStateLines(), BuildButtons()});
    WireNavigator();
    // The window previews its keys (the navigator's Alt keys) and the double-clicks on
    // its code fields (the code lists).
    qApp->installEventFilter(this);
    employerChanges_ = dm_.Subscribe([this](PayerFileChange change) {
        if (change == PayerFileChange::W3RecordReplaced) ShowEmployer();
    });
}

// Creates every field of the form from the table; the layout places them afterwards.
void TFrmW2::BuildFields() {
    for (const FieldSpec& spec : W2Fields()) AddField(MakeField(spec, this), spec.name, spec.caption, true);
    for (int pair = 1; pair <= 12; ++pair) {
        Box12Code[pair - 1] = qobject_cast<TFilterEdit*>(Field("Box12Code" + QString::number(pair)));
        Box12Amt[pair - 1] = qobject_cast<TDollarEdit*>(Field("Box12Amt" + QString::number(pair)));
    }
    for (const char* name : {"Boxe1", "Boxe2", "Boxe3"})
        connect(qobject_cast<TFilterEdit*>(Field(name)), &QLineEdit::textChanged, this, &TFrmW2::BoxeChange);
    for (const EmployerField& employer : kEmployerFields) {
        auto* field = new QLineEdit(this);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        AddField(field, QString::fromLatin1(employer.name), tr(employer.caption), false);
    }
}

QWidget* TFrmW2::BuildForm() {
    for (const FieldSpec& spec : W2Fields()) {
        if (spec.control == Control::Money) FitFieldWidth(Field(spec.name), spec.size + 4);
        else if (spec.size > 0 && spec.control != Control::Code) FitFieldWidth(Field(spec.name), spec.size);
    }
    auto f = [this](const char* name) { return Field(QString::fromLatin1(name)); };
    auto* form = new QWidget(this);
    auto* grid = new QGridLayout(form);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);

    // The employee and the employer, down the left side.
    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(FormBox(form, tr("a Employee's social security number"), {{f("Boxa")}}, BoxHeight::Natural));
    left->addWidget(FormBox(form, tr("b Employer identification number (EIN)"), {{f("W3Boxe")}}, BoxHeight::Natural));
    left->addWidget(FormBox(form, tr("c Employer's name, address, and ZIP code"),
                            {{f("W3Boxf_a")}, {f("W3Boxf_b")}, {f("W3Boxg_a")}, {f("W3Boxg_b")}}, BoxHeight::Natural));
    left->addWidget(FormBox(form, tr("d Control number"), {{f("Boxd")}}, BoxHeight::Natural));
    left->addWidget(FormBox(form, {},
                            {{FormCaption(tr("e Employee's first name and initial"), form), nullptr,
                              FormCaption(tr("Last name"), form), FormCaption(tr("Suff."), form)},
                             {f("Boxe1"), f("Boxe2"), f("Boxe3"), f("Suffix")}},
                            BoxHeight::Natural));
    left->addWidget(FormBox(form, tr("f Employee's address and ZIP code"),
                            {{f("Boxf_a")}, {f("Boxf_b"), f("Boxf_c"), f("Boxf_d")}}, BoxHeight::Natural));
    left->addStretch();
    grid->addLayout(left, 0, 0, 9, 1);

    // The amounts, two boxes a row, as on the form; box 9 is an empty box.
    struct AmountCell {
        const char* field;
        int row, column;
    };
    const AmountCell kAmountCells[] = {
        {"Amount1", 0, 1}, {"Amount2", 0, 2}, {"Amount3", 1, 1}, {"Amount4", 1, 2}, {"Amount5", 2, 1},
        {"Amount6", 2, 2}, {"Amount7", 3, 1}, {"Amount8", 3, 2}, {"Amount10", 4, 2}, {"Amount11", 5, 1},
    };
    for (const AmountCell& cell : kAmountCells)
        grid->addWidget(FormBox(form, f(cell.field)->accessibleName(), {{f(cell.field)}}, BoxHeight::Natural), cell.row,
                        cell.column);
    auto* box9 = FormBox(form, QStringLiteral("9"), {}, BoxHeight::Natural);
    box9->setAccessibleName(tr("9 (not used)"));
    grid->addWidget(box9, 4, 1);

    Box12Hint = HiddenHint("Box12Hint", tr(kBox12HintText), form);
    grid->addWidget(FormBox(form, tr("12 See instructions for box 12"), {{Box12Hint}, {BuildBox12Panel()}}), 5, 2, 3,
                    1);

    auto* box13 = new QFrame(form);
    box13->setFrameShape(QFrame::Box);
    auto* box13Layout = new QGridLayout(box13);
    box13Layout->setContentsMargins(3, 1, 3, 3);
    box13Layout->addWidget(FormCaption(QStringLiteral("13"), box13), 0, 0);
    int column = 1;
    for (const char* name : {"Box13a", "Box13b", "Box13c"}) {
        QWidget* check = f(name);
        auto* label = FormCaption(check->accessibleName().mid(3), box13);  // without "13 "
        label->setBuddy(check);
        box13Layout->addWidget(label, 0, column, Qt::AlignHCenter);
        box13Layout->addWidget(check, 1, column++, Qt::AlignHCenter);
    }
    grid->addWidget(box13, 6, 1);

    grid->addWidget(FormBox(form, tr("14 Other"),
                            {{f("Box14Desc_a"), f("Box14Amt_a")},
                             {f("Box14Desc_b"), f("Box14Amt_b")},
                             {f("Box14Desc_c"), f("Box14Amt_c")}},
                            BoxHeight::Natural),
                    7, 1);

    Box14bHint = HiddenHint("Box14bHint", tr(kBox14bHintText), form);
    auto* box14b = FormBox(form, tr("14b Treasury tipped occupation codes"),
                           {{f("Box14bTTOC"), f("Box14bTTOC2")}, {Box14bHint}}, BoxHeight::Natural);
    grid->addWidget(box14b, 8, 1, 1, 2);
    return form;
}

// Box 12's twelve pairs in a panel that shows six at a time: pairs 1 to 6 at the top,
// 7 to 12 when scrolled down.
QWidget* TFrmW2::BuildBox12Panel() {
    auto* pairs = new QWidget;
    auto* grid = new QGridLayout(pairs);
    grid->setContentsMargins(kBox12RowGap, kBox12RowGap, kBox12RowGap, kBox12RowGap);
    grid->setSpacing(kBox12RowGap);
    for (int pair = 1; pair <= 12; ++pair) {
        auto* label = new QLabel("12" + Letter(pair), pairs);
        label->setBuddy(Box12Code[pair - 1]);
        TFilterEdit* code = Box12Code[pair - 1];
        TDollarEdit* amount = Box12Amt[pair - 1];
        code->setParent(pairs);
        amount->setParent(pairs);
        for (QWidget* cell : {static_cast<QWidget*>(label), static_cast<QWidget*>(code), static_cast<QWidget*>(amount)})
            cell->setFixedHeight(kBox12RowHeight);
        code->setFixedWidth(code->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 12);
        grid->addWidget(label, pair - 1, 0);
        grid->addWidget(code, pair - 1, 1);
        grid->addWidget(amount, pair - 1, 2);
    }
    Box12Panel = new Box12ScrollArea(this);
    Box12Panel->setObjectName(QStringLiteral("Box12Panel"));
    Box12Panel->setAccessibleName(tr("Box 12"));
    Box12Panel->setFocusPolicy(Qt::NoFocus);
    Box12Panel->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Box12Panel->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Box12Panel->setWidget(pairs);
    const int visibleHeight = kBox12VisiblePairs * (kBox12RowHeight + kBox12RowGap);
    Box12Panel->setFixedHeight(visibleHeight + 2 * Box12Panel->frameWidth());
    Box12Panel->setMinimumWidth(pairs->sizeHint().width() + Box12Panel->verticalScrollBar()->sizeHint().width() +
                                2 * Box12Panel->frameWidth());
    return Box12Panel;
}

// The two state and local lines under the form, one column per box.
QWidget* TFrmW2::BuildStateLines() {
    auto* lines = new QFrame(this);
    lines->setFrameShape(QFrame::Box);
    auto* grid = new QGridLayout(lines);
    grid->setContentsMargins(3, 1, 3, 3);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    const char* const kHeaders[] = {"15 State",           "Employer's state ID number", "16 State wages, tips, etc.",
                                    "17 State income tax", "18 Local wages, tips, etc.", "19 Local income tax",
                                    "20 Locality name"};
    const char* const kLines[2][7] = {
        {"Box15a", "StateID_a", "Box16a", "Box17a", "Box18a", "Box19a", "Box20a"},
        {"Box15b", "StateID_b", "Box16b", "Box17b", "Box18b", "Box19b", "Box20b"},
    };
    for (int column = 0; column < 7; ++column) {
        grid->addWidget(FormCaption(tr(kHeaders[column]), lines), 0, column);
        for (int line = 0; line < 2; ++line) grid->addWidget(Field(QString::fromLatin1(kLines[line][column])), line + 1, column);
    }
    return lines;
}

QWidget* TFrmW2::BuildButtons() {
    QHBoxLayout* row = NewButtonRow();
    BtnPrintOne = AddButton(row, "BtnPrintOne", tr("Print &One"));
    BtnPrintAll = AddButton(row, "BtnPrintAll", tr("Print &All"));
    AddCloseAndHelp(row);
    row->addStretch();
    RSNavigator = new TRSNavigator(this);
    row->addWidget(RSNavigator);

    ConnectCommand(BtnPrintOne, &QPushButton::clicked, this, &TFrmW2::BtnPrintOneClick);
    ConnectCommand(BtnPrintAll, &QPushButton::clicked, this, &TFrmW2::BtnPrintAllClick);
    return row->parentWidget();
}

void TFrmW2::WireNavigator() {
    struct Hint {
        TNavigateBtn button;
        const char* text;
    };
    const Hint kHints[] = {
        {nbFirst, "First Employee (Alt+F)"}, {nbNext, "Next Employee (Alt+N)"}, {nbPrior, "Prior Employee (Alt+P)"},
        {nbLast, "Last Employee (Alt+L)"},   {nbList, "List Employees (Alt+I)"}, {nbNew, "New Employee (Alt+E)"},
        {nbDelete, "Delete Employee (Alt+D)"},
    };
    for (const Hint& hint : kHints) RSNavigator->SetButtonHint(hint.button, tr(hint.text));
    RSNavigator->OnBeforeAction = [this](TRSNavigator&) { RSNavigatorBeforeAction(); };
    RSNavigator->OnAfterAction = [this](TRSNavigator&) { RSNavigatorAfterAction(); };
    RSNavigator->OnBtnListClick = [this](TRSNavigator&) { ShowEmployeeList(dm_, this); };
}

// ---- Showing and closing ---------------------------------------------------------

void TFrmW2::FormShow() {
    dm_.RSW3().GetRec();
    ShowEmployer();
    dm_.RSW2().GetRec();
    ShowBrowseOnly(dm_.RSW2().BrowseOnly());
    W2RecordToWindow();
    RSNavigator->SetRecordSet(&dm_.RSW2());
    employeeCount_ = dm_.RSW2().RecordCount();
    FW2Checked = TW2Checked();
    FW2Checked.Resize(employeeCount_);
    MarkCurrentRecordShown();
    BtnPrintOne->setEnabled(dm_.CountW2WithWages() > 0);
    UpdatePrintAll();
}

// A record that fails the rules keeps the window open. Closing after every employee
// has been shown counts as a review of the W-2 forms.
void TFrmW2::FormClose() {
    if (!BrowseOnly()) ValidateFields();
    if (BtnPrintAll->isEnabled()) dm_.EntryWindowReviewed(EntryWindow::W2);
    SaveRecord();
}

void TFrmW2::ShowEmployer() {
    for (const EmployerField& employer : kEmployerFields)
        SetFieldText(Field(QString::fromLatin1(employer.name)), RecordText(dm_.W3Rec().*employer.member));
}

void TFrmW2::SaveRecord() {
    W2WindowToRecord();
    dm_.RSW2().PostRec();
}

// The window sees its key presses before its fields: the Alt keys of the navigator work
// from any field. Double-clicks on the code fields open their code lists.
bool TFrmW2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* control = qobject_cast<QWidget*>(watched);
        if (!control || control->window() != this || control != QApplication::focusWidget()) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        bool handled = true;  // a navigator key whose action failed is used up too
        RunCommand([&] { handled = FormKeyDown(key->key(), key->modifiers()); });
        return handled;
    }
    if (event->type() != QEvent::MouseButtonDblClick) return false;
    auto* code = qobject_cast<TFilterEdit*>(watched);
    if (!code) return false;
    if (std::find(Box12Code.begin(), Box12Code.end(), code) != Box12Code.end()) {
        RunCommand([&] { Box12CodeDblClick(code); });
        return true;
    }
    if (code == Field(QStringLiteral("Box14bTTOC")) || code == Field(QStringLiteral("Box14bTTOC2"))) {
        RunCommand([&] { Box14bTTOCDblClick(code); });
        return true;
    }
    return false;
}

bool TFrmW2::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    return RSNavigator->KeyDownHandler(key, modifiers);
}

// ---- Fields ------------------------------------------------------------------------

void TFrmW2::FieldEnter(QWidget* field) {
    TEntryWindow::FieldEnter(field);
    const QString name = field->objectName();
    if (Box12PairOf(name.toStdString()) != 0 && name.startsWith(QLatin1String("Box12Code"))) {
        Box12Hint->setVisible(true);
        if (field == Box12Code[0]) ScrollBox12PanelTo(1);
    }
    if (name.startsWith(QLatin1String("Box14bTTOC"))) Box14bHint->setVisible(true);
    if (name == QLatin1String("Amount7")) Amount7Enter();
}

void TFrmW2::FieldExit(QWidget* field) {
    TEntryWindow::FieldExit(field);
    Box12Hint->setVisible(false);
    Box14bHint->setVisible(false);
    if (field == Box12Amt[11]) ScrollBox12PanelTo(1);
    static const ExitStep kExitSteps[] = {
        {"Amount1", &TFrmW2::Amount1Exit, true},
        {"Amount3", &TFrmW2::Amount3Exit, false},
        {"Amount5", &TFrmW2::Amount5Exit, false},
        {"Amount7", &TFrmW2::Amount7Exit, false},
    };
    for (const ExitStep& exit : kExitSteps) {
        if (field->objectName() != QLatin1String(exit.field)) continue;
        (this->*exit.step)();
        if (exit.updatesPrintButtons) UpdatePrintButtons();
        return;
    }
    UpdatePrintButtons();
}

void TFrmW2::Amount1Exit() {
    W2Record record = WindowRecord();
    if (LeaveBox1(record)) ShowAmounts(record, {"Amount3", "Amount4", "Amount5", "Amount6", "Box16a"});
}

void TFrmW2::Amount3Exit() {
    W2Record record = WindowRecord();
    SavedSSTotal = LeaveBox3(record);
    ShowAmounts(record, {"Amount3", "Amount4"});
}

void TFrmW2::Amount5Exit() {
    W2Record record = WindowRecord();
    LeaveBox5(record);
    ShowAmounts(record, {"Amount6"});
}

void TFrmW2::Amount7Enter() { SavedSSTotal = EnterBox7(WindowRecord()); }

void TFrmW2::Amount7Exit() {
    W2Record record = WindowRecord();
    LeaveBox7(record, SavedSSTotal);
    ShowAmounts(record, {"Amount3", "Amount4"});
}

void TFrmW2::ShowAmounts(const W2Record& record, std::initializer_list<const char*> names) {
    W2Record source = record;  // the layout's accessors take a modifiable record
    for (const char* name : names)
        if (auto* money = qobject_cast<TDollarEdit*>(Field(QString::fromLatin1(name))))
            money->SetValue(*std::get<double*>(LayoutFieldNamed(W2Layout(), name)->Of(source)));
}

void TFrmW2::BoxeChange() {
    if (!showingRecord_) dm_.EmployeeListChanged();  // loading the names is no change by the user
}

// The code fields are read-only: the code lists are the only way to set or clear them,
// and cancelling a list clears the field.
void TFrmW2::Box12CodeDblClick(TFilterEdit* field) {
    if (!BrowseOnly()) field->setText(PickBox12Code(this));
}

void TFrmW2::Box14bTTOCDblClick(TFilterEdit* field) {
    if (!BrowseOnly()) field->setText(PickOccupationCode(this));
}

void TFrmW2::ScrollBox12PanelTo(int pair) {
    QScrollBar* bar = Box12Panel->verticalScrollBar();
    bar->setValue(pair <= kBox12VisiblePairs ? bar->minimum() : bar->maximum());
}

// ---- The record --------------------------------------------------------------------

W2Record TFrmW2::WindowRecord() const {
    W2Record record = dm_.W2Rec();
    // Boxf_csz and the reserved Amount9 have no field.
    ReadRecordFields(record, W2Layout(), [this](std::string_view name) { return Field(RecordText(name)); });
    record.Boxf_csz = CityStateZipLine(record.Boxf_b, record.Boxf_c, record.Boxf_d);
    return record;
}

void TFrmW2::W2WindowToRecord() { dm_.EditW2Rec(WindowRecord()); }

void TFrmW2::W2RecordToWindow() {
    showingRecord_ = true;
    ShowRecordFields(dm_.W2Rec(), W2Layout(), [this](std::string_view name) { return Field(RecordText(name)); });
    showingRecord_ = false;
    // The navigator leaves the focus where it was: a visit of Box 7 goes on in the record
    // just loaded, so leaving it must keep that record's Box 3 + Box 7, not the last one's.
    if (QApplication::focusWidget() == Field(QStringLiteral("Amount7"))) Amount7Enter();
}

void TFrmW2::ValidateFields() {
    const W2Record record = WindowRecord();
    if (const std::optional<RuleFailure> failure = ValidateW2(record)) {
        if (const int pair = Box12PairOf(failure->field)) ScrollBox12PanelTo(pair);
        RaiseOnField(*failure);
    }
    std::string warnings;
    for (const std::string& warning : W2Warnings(record))
        if (efw2Warned_.insert(warning).second) warnings += (warnings.empty() ? "" : "~") + warning;
    if (!warnings.empty()) ShowMsg(PortsOf(this).prompter, warnings, MsgStyle::Warning);
}

// ---- Print buttons -----------------------------------------------------------------

void TFrmW2::UpdatePrintButtons() {
    BtnPrintOne->setEnabled(HasWagesOrCodeII(WindowRecord()));
    UpdatePrintAll();
}

// All forms may be printed once every employee has been shown.
void TFrmW2::UpdatePrintAll() { BtnPrintAll->setEnabled(BtnPrintOne->isEnabled() && FW2Checked.AllMarked()); }

void TFrmW2::MarkCurrentRecordShown() { FW2Checked.Mark(dm_.RSW2().CurrentRecord()); }

// Both buttons print what the file holds: the record on screen must pass the rules and
// is saved first.
void TFrmW2::BtnPrintOneClick() {
    ValidateFields();
    const int record = dm_.RSW2().CurrentRecord();
    SaveRecord();
    RunPrintJob([&](report::ReportJob& job) {
        printing_.SetupEmployeeW2(job, {record, record}, printing_.Choices.maskSSN);
    });
}

void TFrmW2::BtnPrintAllClick() {
    ValidateFields();
    if (!TFrmFormType::Ask(printing_.Choices, this)) return;
    SaveRecord();
    const forms::W2PrintRange all = printing_.AllRecords();
    RunPrintJob([&](report::ReportJob& job) {
        switch (printing_.Choices.formType) {
            case forms::W2FormType::Employee: return printing_.SetupEmployeeW2(job, all, printing_.Choices.maskSSN);
            case forms::W2FormType::Employer:
            case forms::W2FormType::State: return printing_.SetupCopyD1(job, all, printing_.Choices.formType);
            case forms::W2FormType::SSA: return printing_.SetupSsaW2(job);
        }
    });
}

void TFrmW2::RunPrintJob(const std::function<void(report::ReportJob&)>& setup) {
    report::ReportJob job(PortsOf(this));
    setup(job);
    job.OverridePreview = ReportPreviewHook(this);
    job.Execute();
}

// ---- Navigator ---------------------------------------------------------------------

// Every move saves the record, which must pass the rules first; a failure stops the
// move before the store moves. Delete removes the record without checking it.
void TFrmW2::RSNavigatorBeforeAction() {
    if (RSNavigator->Action() == baDelete) {
        deletingRecord_ = dm_.RSW2().CurrentRecord();
        return;
    }
    // A browse-only record cannot be changed, so it is neither checked nor saved: the
    // user may look through every employee of the file.
    if (BrowseOnly()) return;
    ValidateFields();
    SaveRecord();
}

void TFrmW2::RSNavigatorAfterAction() {
    const int count = dm_.RSW2().RecordCount();
    const TNavigateAction action = RSNavigator->Action();
    if (action == baDelete) {
        const bool deleted = count < employeeCount_;
        employeeCount_ = count;
        // A refused or cancelled delete leaves the record and what the user typed into it.
        if (!deleted) return;
        FW2Checked.Remove(deletingRecord_);
        FW2Checked.Resize(count);
    }
    employeeCount_ = count;
    W2RecordToWindow();
    // The record is in the fields before the focus moves: the field that has it then
    // takes the keys typed next.
    if (action == baNew) {
        Field(QStringLiteral("Boxa"))->setFocus(Qt::OtherFocusReason);
        FW2Checked.Resize(count);
    }
    if (QWidget* focused = QApplication::focusWidget(); focused && focused->window() == this) ReadyForTyping(focused);
    if (action == baNew) {
        BtnPrintOne->setEnabled(false);
        BtnPrintAll->setEnabled(false);
    }
    MarkCurrentRecordShown();
    UpdatePrintAll();
}

}  // namespace qnvr
