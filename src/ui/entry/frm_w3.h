#pragma once
// TFrmW3: the entry window of the payer file's one W-3 record, laid out like Form W-3:
// the payer's identity, kind of payer and kind of employer, contact person, signer and
// the transmittal totals. The totals are recomputed from every W-2 record each time the
// window is shown and are read-only; of the money boxes only box 14 is typed. The record
// must pass the W-3 rules before the window closes or prints. The window works on the
// data module's W3Rec and posts it through RSW3.
#include <array>
#include <optional>

#include "report/report_job.h"
#include "ui/entry/entry_window.h"

class QPushButton;

namespace qnvr {

namespace forms {
class FormPrinting;
}

class TCheckBoxEdit;
class TFilterEdit;
class TFrmDataModule;
struct W3Record;

class TFrmW3 final : public TEntryWindow {
    Q_OBJECT

public:
    // printing: the job of Print, bound each time the window is shown.
    TFrmW3(TFrmDataModule& dm, forms::FormPrinting& printing, QWidget* parent = nullptr);

    // Box b's check fields by number, 1..13 at [1]..[13] ([0] is unused).
    std::array<TCheckBoxEdit*, 14> FW3Boxb{};

    QPushButton* BtnPrint;
    std::optional<report::ReportJob> RptFormW3;  // set up when the window shows, with its ports

    // Applies the W-3 rules to the fields as they stand; the first failure moves the
    // focus to its field and is raised as EFieldException.
    void ValidateFields();
    void W3RecordToWindow();
    // Stores the editable fields into W3Rec; the count and the totals are never read back.
    void W3WindowToRecord();
    void ComputeW3Totals();

private:
    void BuildFields();
    QWidget* BuildForm();
    QWidget* BuildKindBoxes(QWidget* parent);
    QWidget* BuildButtons();

    void FormShow() override;
    void FormClose() override;
    void BoxbChange(int number);
    void Box15Change();
    void Box15KeyPress(TFilterEdit& field, QChar& key);
    void Box13KeyPress(TFilterEdit& field, QChar& key);
    void EnableStateID();
    void BtnPrintClick();

    // The record as the fields show it (the count, the totals and the fields the window
    // lacks come from W3Rec).
    W3Record WindowRecord() const;

    TFrmDataModule& dm_;
    forms::FormPrinting& printing_;
    bool checkingGroup_ = false;  // BoxbChange is setting the boxes of a group
};

}  // namespace qnvr
