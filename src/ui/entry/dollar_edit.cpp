#include "ui/entry/dollar_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QValidator>

#include "core/base/prompter.h"
#include "core/text/text.h"
#include "ui/entry/calculator_window.h"
#include "ui/entry/event_errors.h"
#include "ui/entry/field_color.h"
#include "ui/entry/typed_key.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

TDollarEdit::CalculatorOpener& Opener() {
    static TDollarEdit::CalculatorOpener opener = ShowCalculator;
    return opener;
}

int& LastCentDigits() {
    static int digits = 2;
    return digits;
}

// Refuses a paste or a drop that leaves text the keys could not have typed (a second
// point, letters, a sign where negatives are refused, too many digits).
class MoneyPasteValidator final : public QValidator {
public:
    MoneyPasteValidator(const MoneyFieldSettings& settings, QObject* parent) : QValidator(parent), settings_(settings) {}
    State validate(QString& input, int&) const override {
        return MoneyTextAllowed(settings_, input.toStdString()) ? Acceptable : Invalid;
    }

private:
    const MoneyFieldSettings& settings_;
};

const QColor kNegativeColor(255, 0, 0);

}  // namespace

void TDollarEdit::SetCalculatorOpener(CalculatorOpener opener) {
    Opener() = opener ? std::move(opener) : ShowCalculator;
}

int TDollarEdit::LastEnteredCentDigits() { return LastCentDigits(); }

TDollarEdit::TDollarEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setValidator(new MoneyPasteValidator(settings_, this));
    connect(this, &QLineEdit::textChanged, this, &TDollarEdit::ShowTextColor);
    SetValue(0);
}

void TDollarEdit::SetDollarDigits(int digits) { settings_.dollarDigits = std::clamp(digits, 1, 12); }

void TDollarEdit::SetCentDigits(int digits) { settings_.centDigits = std::clamp(digits, 0, 6); }

void TDollarEdit::SetCurrency(bool on) { settings_.currency = on; }

void TDollarEdit::SetFontColor(const QColor& color) {
    fontColor_ = color;
    ShowTextColor();
}

double TDollarEdit::Value() const { return StrToAmount(text().toStdString()); }

void TDollarEdit::SetValue(double value) {
    fieldValue_ = ClampMoneyValue(value);
    setText(QString::fromStdString(MoneyDisplayText(fieldValue_, settings_)));
}

void TDollarEdit::Normalize() {
    const std::string normalized = NormalizeMoneyText(text().toStdString(), settings_.centDigits);
    setText(QString::fromStdString(normalized));
    fieldValue_ = RoundTo(StrToAmount(normalized), settings_.centDigits);
}

void TDollarEdit::ShowTextColor() {
    bool negative = false;
    try {
        negative = StrToAmount(text().toStdString()) < 0;
    } catch (const std::exception&) {  // no number yet: drawn as any other text
    }
    const QColor normal = fontColor_.isValid() ? fontColor_ : QPalette().color(QPalette::Text);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, negative ? kNegativeColor : normal);
    setPalette(palette);
}

MoneyEditState TDollarEdit::EditState() const {
    MoneyEditState state;
    state.text = text().toStdString();
    state.cursor = cursorPosition();
    if (hasSelectedText()) {
        state.selectionStart = selectionStart();
        state.selectionLength = static_cast<int>(selectedText().size());
    }
    state.firstTime = firstTime_;
    return state;
}

void TDollarEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!visit_.Begins()) return;
    colorOnEntry_ = FieldColor(this);  // before the window paints its highlight
    LastCentDigits() = settings_.centDigits;
    if (!RunGuarded([this] { Normalize(); })) return;
    firstTime_ = true;
    SelectAllOnEntry(this, event->reason());
    RunGuarded([this] { emit Entered(); });
}

void TDollarEdit::RestartVisit() {
    if (!visit_.InField() || !RunGuarded([this] { Normalize(); })) return;
    firstTime_ = true;
    selectAll();
}

void TDollarEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (visit_.Ends(this, event)) LeaveField();
}

void TDollarEdit::LeaveField() {
    if (!RunGuarded([this] { Normalize(); })) return;
    if (requiredField_ && fieldValue_ == 0) {
        // The window's exit handlers see the field left before it takes the focus back.
        RunGuarded([this] { emit Exited(); });
        RefuseExit(this, "This field is required!", MsgStyle::Warning, kFocusBackFailed);
        return;
    }
    setText(QString::fromStdString(MoneyDisplayText(fieldValue_, settings_)));
    RunGuarded([this] { emit Exited(); });
}

void TDollarEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QChar typed = TypedCharacter(event);
    if (isReadOnly() || (typed.isNull() && !enter)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const MoneyKeyResult result = MoneyKey(settings_, EditState(), enter ? kEnterKey : typed.unicode());
    firstTime_ = result.firstTime;
    if (result.emptyText) clear();
    if (!result.message.empty()) ShowMsg(PortsOf(this).prompter, result.message, kAppTitle, MsgStyle::Error);
    if (result.openCalculator) OpenCalculator();
    if (result.accepted) QLineEdit::keyPressEvent(event);
    else event->accept();
}

void TDollarEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (isReadOnly()) {
        QLineEdit::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    OpenCalculator();
}

void TDollarEdit::OpenCalculator() {
    if (isReadOnly()) return;
    const QColor restore = visit_.InField() ? colorOnEntry_ : FieldColor(this);
    SetFieldColor(this, kPopupOpenColor);
    std::optional<QString> result;
    RunGuarded([&] { result = Opener()(*this, text()); });
    if (result) {
        const CalculatorPaste paste = PasteCalculatorResult(settings_, text().toStdString(), result->toStdString());
        setText(QString::fromStdString(paste.text));
        for (const std::string& message : paste.messages) ShowMsg(PortsOf(this).prompter, message, kAppTitle, MsgStyle::Error);
    }
    SetFieldColor(this, restore);
}

}  // namespace qnvr
