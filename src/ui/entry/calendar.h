#pragma once
// TFrmCalendar: the modal month calendar a date field opens. Paste Date (or a
// double-click on a day) closes it with the shown date; Page Up/Down move a month,
// Alt+Page Up/Down a year.
#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace qnvr {

class TFrmCalendar : public QDialog {
    Q_OBJECT

public:
    explicit TFrmCalendar(QDate shown, QWidget* parent = nullptr);

    QDate ShownDate() const;
    // The shown date as "mm/dd/yyyy".
    QString DateText() const;

    // One month (or year) back or forward, keeping the day where the month has it.
    void MoveMonths(int months);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowTitle();
    // Months a key moves the calendar: Page Up/Down and Alt+P/N one, Alt+Page Up/Down twelve.
    static int MonthsForKey(const QKeyEvent& key);

    QCalendarWidget* grid_;
    QLabel* title_;
    QPushButton* btnPrior_;
    QPushButton* btnNext_;
    QPushButton* btnPasteDate_;
    QPushButton* btnCancel_;
};

}  // namespace qnvr
