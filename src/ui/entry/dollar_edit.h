#pragma once
// TDollarEdit: the money field. Typing is limited key by key (core/entry/money_keys.h);
// while focused it shows the bare number (1234.50), otherwise the display format
// (1,234.50); negative amounts are drawn in red; "C" or a double-click opens the
// pop-up calculator.
#include <QColor>
#include <QLineEdit>
#include <functional>
#include <optional>

#include "core/entry/money_keys.h"

#include "ui/entry/field_focus.h"

namespace qnvr {

class TDollarEdit : public QLineEdit {
    Q_OBJECT

public:
    // Shows the calculator modal, seeded with the field's text; gives back the text the
    // user put into the field, or nothing when the calculator closed without Put. Every
    // money field opens the TCalculator window; a test may install another opener, and
    // an empty one restores the window.
    using CalculatorOpener = std::function<std::optional<QString>(TDollarEdit& field, const QString& fieldText)>;
    static void SetCalculatorOpener(CalculatorOpener opener);
    // Cent digits of the money field entered last: the calculator's rounding precision.
    static int LastEnteredCentDigits();

    explicit TDollarEdit(QWidget* parent = nullptr);

    int DollarDigits() const { return settings_.dollarDigits; }
    void SetDollarDigits(int digits);  // 1 to 12; also sets MaxLength
    int CentDigits() const { return settings_.centDigits; }
    void SetCentDigits(int digits);  // 0 to 6; also sets MaxLength
    int MaxLength() const { return MoneyMaxLength(settings_); }
    bool MinusKey() const { return settings_.minusKey; }
    void SetMinusKey(bool on) { settings_.minusKey = on; }
    double MinValue() const { return settings_.minValue; }
    void SetMinValue(double value) { settings_.minValue = value; }
    double MaxValue() const { return settings_.maxValue; }
    void SetMaxValue(double value) { settings_.maxValue = value; }
    bool Currency() const { return settings_.currency; }
    void SetCurrency(bool on);
    bool RequiredField() const { return requiredField_; }
    void SetRequiredField(bool on) { requiredField_ = on; }
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

    // The amount the text shows; throws EConvertError when the text is no number.
    double Value() const;
    // Stores the amount (cut to kMaxMoneyValue) and shows it in the display format.
    void SetValue(double value);
    // The amount as the field last normalised it (on entering), rounded to CentDigits.
    double FieldValue() const { return fieldValue_; }

    // The amount under the focused field was replaced (another record was loaded):
    // shows it as on entering, bare and selected, so that the first key replaces it.
    void RestartVisit();

    // What "C" does: opens the calculator and takes its result.
    void OpenCalculator();

signals:
    // The window's enter and exit handlers, run after the field's own steps.
    void Entered();
    void Exited();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Normalize();
    void LeaveField();
    void ShowTextColor();
    MoneyEditState EditState() const;

    MoneyFieldSettings settings_;
    bool requiredField_ = false;
    QColor fontColor_;
    QColor colorOnEntry_;
    double fieldValue_ = 0;
    bool firstTime_ = false;
    FieldVisit visit_;
};

}  // namespace qnvr
