#pragma once
// TFrmW2: the entry window of the W-2 records, one employee at a time, laid out like
// Form W-2. The employer's identity comes from the W-3 record and is shown read-only.
// Leaving Box 1, 3, 5 and 7 fills in the social security and Medicare boxes; the record
// must pass the W-2 rules before the user may leave it (the navigator, Close, printing).
// The window works on the data module's W2Rec and posts it through RSW2.
#include <array>
#include <functional>
#include <set>
#include <string>

#include "core/base/notifier.h"
#include "core/entry/w2_review.h"
#include "ui/entry/entry_window.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace qnvr {
namespace forms {
class FormPrinting;
}
namespace report {
class ReportJob;
}


class TDollarEdit;
class TFilterEdit;
class TFrmDataModule;
class TRSNavigator;
struct W2Record;

class TFrmW2 final : public TEntryWindow {
    Q_OBJECT

public:
    // printing: the print jobs of Print One and Print All, with the run's form type choice.
    TFrmW2(TFrmDataModule& dm, forms::FormPrinting& printing, QWidget* parent = nullptr);

    // The Box 12 pairs, 1..12 at [0]..[11].
    std::array<TFilterEdit*, 12> Box12Code{};
    std::array<TDollarEdit*, 12> Box12Amt{};
    TW2Checked FW2Checked;  // the records shown since the window opened
    double SavedSSTotal = 0;  // Box 3 + Box 7 as they stood when Box 7 was entered

    QScrollArea* Box12Panel;
    QLabel* Box12Hint;
    QLabel* Box14bHint;
    QPushButton* BtnPrintOne;
    QPushButton* BtnPrintAll;
    TRSNavigator* RSNavigator;

    // Applies the W-2 rules to the fields as they stand; the first failure moves the
    // focus to its field (scrolling the Box 12 panel to a pair first) and is raised as
    // EFieldException. A record that passes but holds a name or address the EFW2 file
    // cannot carry as typed (W2Warnings) is told once per text, as a warning.
    void ValidateFields();
    // Moves the whole record between W2Rec and the fields.
    void W2RecordToWindow();
    void W2WindowToRecord();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow() override;
    void FormClose() override;
    void FieldEnter(QWidget* field) override;
    void FieldExit(QWidget* field) override;
    void BuildFields();
    QWidget* BuildForm();
    QWidget* BuildBox12Panel();
    QWidget* BuildStateLines();
    QWidget* BuildButtons();
    void WireNavigator();

    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void Amount1Exit();
    void Amount3Exit();
    void Amount5Exit();
    void Amount7Enter();
    void Amount7Exit();
    void BoxeChange();
    void Box12CodeDblClick(TFilterEdit* field);
    void Box14bTTOCDblClick(TFilterEdit* field);
    void BtnPrintOneClick();
    void BtnPrintAllClick();
    void RunPrintJob(const std::function<void(report::ReportJob&)>& setup);
    void RSNavigatorBeforeAction();
    void RSNavigatorAfterAction();

    // The record as the fields show it (fields the window lacks come from W2Rec).
    W2Record WindowRecord() const;
    // Shows the named amounts of record, as the automatic computations changed them.
    void ShowAmounts(const W2Record& record, std::initializer_list<const char*> names);
    void ScrollBox12PanelTo(int pair);
    void SaveRecord();
    void UpdatePrintButtons();
    void UpdatePrintAll();
    void MarkCurrentRecordShown();
    // The employer's boxes, read-only here, as the W-3 record holds them.
    void ShowEmployer();

    TFrmDataModule& dm_;
    forms::FormPrinting& printing_;
    int employeeCount_ = 0;
    int deletingRecord_ = 0;  // the record a Delete started on
    std::set<std::string> efw2Warned_;  // the W2Warnings shown while the window is open
    bool showingRecord_ = false;  // W2RecordToWindow is filling the fields
    Subscription employerChanges_;  // the W-3 record replaced: the employer's boxes follow
};

}  // namespace qnvr
