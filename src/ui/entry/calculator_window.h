#pragma once
// TCalculator: the pop-up calculator a money field opens with "C" or a double-click.
// Buttons and keys drive the calculator of core/entry/calculator.h; Get fetches the
// field's text, Put closes the window with the display for the field, Escape closes it
// without putting, Home moves it to the top-left corner of the screen.
#include <QDialog>

#include <optional>
#include <vector>

#include "core/entry/calculator.h"

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace qnvr {

class TDollarEdit;

class TCalculator : public QDialog {
    Q_OBJECT

public:
    // fieldText: what Get fetches; roundingDigits: the cent digits results are rounded to.
    TCalculator(const QString& fieldText, int roundingDigits, QWidget* parent = nullptr);

    QString Display() const;
    // The user chose Put: the field takes Display().
    bool PutKey() const { return calculator_.PutKey(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Button {
        QPushButton* button;
        CalculatorAction action;
    };
    void AddButtons(QGridLayout* grid);
    // Presses the button of the action, as a click would; a disabled button ignores it.
    void Press(const CalculatorAction& action);
    void Run(const CalculatorAction& action);
    void ShowState();

    Calculator calculator_;
    QLineEdit* display_;
    QPushButton* btnRecall_ = nullptr;
    std::vector<Button> buttons_;
};

// Opens the calculator for the field, modal, seeded with fieldText and rounding to the
// cents of the money field entered last; the display when the user chose Put, otherwise
// nothing. Every money field opens it unless a test installs another opener.
std::optional<QString> ShowCalculator(TDollarEdit& field, const QString& fieldText);

}  // namespace qnvr
