#include "ui/entry/calculator_window.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "core/base/prompter.h"
#include "ui/base/modal.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/event_errors.h"
#include "ui/entry/typed_key.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

using C = CalculatorCommand;

// One button: its name, caption, the name a screen reader says when the caption is a
// symbol, its hint, what it does, and its cell on the keypad.
struct ButtonSpec {
    const char* name;
    const char* caption;
    const char* spoken;  // nullptr: the caption
    const char* hint;
    CalculatorAction action;
    int row, column, rowSpan = 1, columnSpan = 1;
};

constexpr const char* kDigitHint = "Puts this number in the calculator display";

// Row 0 is the display; the keypad below it.
const ButtonSpec kButtons[] = {
    {"BtnGet", "Get", nullptr, "Get number from field", {C::Get}, 1, 0},
    {"BtnPut", "Put", nullptr, "Put number into field", {C::Put}, 1, 1},
    {"BtnStore", "Sto", "Store", "Adds the displayed number to memory", {C::Store}, 1, 2},
    {"BtnSum", "suM", "Sum", "Adds the displayed number to any number already in memory", {C::Sum}, 1, 3},
    {"BtnRecall", "rcL", "Recall", "Recalls the number stored in memory. The number remains in memory", {C::Recall}, 1, 4},
    {"BtnBksp", "Backspace", nullptr, "Deletes the last digit of the displayed number", {C::Backspace}, 2, 0, 1, 2},
    {"BtnClearEntry", "C", "Clear entry", "Clears the displayed number", {C::ClearEntry}, 2, 2},
    {"BtnAllClear", "AC", "All clear", "Clears the current calculation", {C::AllClear}, 2, 3},
    {"BtnRound", "Rnd", "Round", "Rounds to whole number", {C::Round}, 2, 4},
    {"Btn7", "7", nullptr, kDigitHint, {C::Digit, '7'}, 3, 0},
    {"Btn8", "8", nullptr, kDigitHint, {C::Digit, '8'}, 3, 1},
    {"Btn9", "9", nullptr, kDigitHint, {C::Digit, '9'}, 3, 2},
    {"BtnDivide", "/", "Divide", "Division", {C::Operator, '/'}, 3, 3},
    {"BtnPerCent", "%", "Per cent", "Displays the result of multiplication as a percentage.", {C::Operator, '%'}, 3, 4},
    {"Btn4", "4", nullptr, kDigitHint, {C::Digit, '4'}, 4, 0},
    {"Btn5", "5", nullptr, kDigitHint, {C::Digit, '5'}, 4, 1},
    {"Btn6", "6", nullptr, kDigitHint, {C::Digit, '6'}, 4, 2},
    {"BtnMultiply", "*", "Multiply", "Multiplication", {C::Operator, '*'}, 4, 3},
    {"BtnPlusMinus", "+/-", "Change sign", "Changes the sign of the displayed number", {C::PlusMinus}, 4, 4},
    {"Btn1", "1", nullptr, kDigitHint, {C::Digit, '1'}, 5, 0},
    {"Btn2", "2", nullptr, kDigitHint, {C::Digit, '2'}, 5, 1},
    {"Btn3", "3", nullptr, kDigitHint, {C::Digit, '3'}, 5, 2},
    {"BtnMinus", "-", "Minus", "Subtraction", {C::Operator, '-'}, 5, 3},
    {"BtnEquals", "=", "Equals", "Performs any operation on the previous two numbers", {C::Operator, '='}, 5, 4, 2, 1},
    {"Btn0", "0", nullptr, kDigitHint, {C::Digit, '0'}, 6, 0, 1, 2},
    {"BtnDecimal", ".", "Decimal point", "Inserts a decimal point", {C::Decimal}, 6, 2},
    {"BtnPlus", "+", "Plus", "Addition", {C::Operator, '+'}, 6, 3},
};

}  // namespace

TCalculator::TCalculator(const QString& fieldText, int roundingDigits, QWidget* parent)
    : QDialog(parent), calculator_(roundingDigits) {
    setObjectName(QStringLiteral("TCalculator"));
    setWindowTitle(QStringLiteral("CALCULATOR"));

    display_ = new QLineEdit(this);
    display_->setObjectName(QStringLiteral("Display"));
    display_->setAccessibleName(QStringLiteral("Display"));
    display_->setReadOnly(true);
    display_->setFocusPolicy(Qt::NoFocus);
    display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont big = display_->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    display_->setFont(big);

    auto* grid = new QGridLayout(this);
    grid->addWidget(display_, 0, 0, 1, 5);
    AddButtons(grid);

    calculator_.Show(fieldText.toStdString());
    ShowState();
    setFocus();
}

void TCalculator::AddButtons(QGridLayout* grid) {
    for (const ButtonSpec& spec : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(spec.caption), this);
        button->setObjectName(QString::fromLatin1(spec.name));
        button->setAccessibleName(QString::fromLatin1(spec.spoken ? spec.spoken : spec.caption));
        button->setToolTip(QString::fromLatin1(spec.hint));
        // The keys belong to the calculator, not to a focused button (Enter is "=").
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        grid->addWidget(button, spec.row, spec.column, spec.rowSpan, spec.columnSpan);
        const CalculatorAction action = spec.action;
        connect(button, &QPushButton::clicked, this, [this, action] { Run(action); });
        buttons_.push_back({button, action});
        if (action.command == C::Recall) btnRecall_ = button;
    }
}

QString TCalculator::Display() const { return QString::fromStdString(calculator_.Display()); }

void TCalculator::ShowState() {
    display_->setText(Display());
    btnRecall_->setEnabled(calculator_.RecallEnabled());
}

void TCalculator::Run(const CalculatorAction& action) {
    std::optional<std::string> message;
    RunGuarded([&] { message = calculator_.Do(action); });  // a display that is no number
    ShowState();
    if (message) ShowMsg(PortsOf(this).prompter, *message, kAppTitle, MsgStyle::Error);
    if (calculator_.PutKey()) accept();
}

void TCalculator::Press(const CalculatorAction& action) {
    for (const Button& b : buttons_)
        if (b.action == action) {
            if (b.button->isEnabled()) b.button->click();
            return;
        }
}

void TCalculator::keyPressEvent(QKeyEvent* event) {
    const bool plainOrKeypad = (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == 0;
    if (plainOrKeypad && event->key() == Qt::Key_Home) {
        if (const QScreen* screen = this->screen()) move(screen->availableGeometry().topLeft());
        return;
    }
    if (plainOrKeypad && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        Press({C::Operator, '='});
        return;
    }
    const QChar typed = TypedCharacter(event);
    if (const auto action = typed.isNull() ? std::nullopt : CalculatorActionForKey(typed.unicode())) {
        Press(*action);
        return;
    }
    QDialog::keyPressEvent(event);  // Escape closes without putting
}

std::optional<QString> ShowCalculator(TDollarEdit& field, const QString& fieldText) {
    TCalculator calculator(fieldText, TDollarEdit::LastEnteredCentDigits(), &field);
    ExecModal(calculator);
    if (!calculator.PutKey()) return std::nullopt;
    return calculator.Display();
}

}  // namespace qnvr
