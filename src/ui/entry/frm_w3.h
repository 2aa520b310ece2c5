#pragma once
// TFrmW3: the entry window of the payer file's one W-3 record, laid out like Form W-3:
// the payer's identity, kind of payer and kind of employer, contact person, signer and
// the transmittal totals. The totals are recomputed from every W-2 record each time the
// window is shown and are read-only; of the money boxes only box 14 is typed. The record
// must pass the W-3 rules before the window closes or prints. The window works on the
// data module's W3Rec and posts it through RSW3.
#include <QColor>
#include <QDialog>
#include <QHash>

#include <array>

class QPushButton;

namespace qnvr {

class TCheckBoxEdit;
class TEnterAsTab;
class TFilterEdit;
class TFrmDataModule;
struct W3Record;

class TFrmW3 final : public QDialog {
    Q_OBJECT

public:
    explicit TFrmW3(TFrmDataModule& dm, QWidget* parent = nullptr);

    // The light cyan of the field that has the focus.
    static inline const QColor HighlightColor{187, 255, 255};

    // Box b's check fields by number, 1..13 at [1]..[13] ([0] is unused).
    std::array<TCheckBoxEdit*, 14> FW3Boxb{};
    QColor OldColor;  // the focused field's colour before its highlight

    QPushButton* BtnPrint;
    QPushButton* BtnClose;
    QPushButton* BtnHelp;
    TEnterAsTab* EnterAsTab;

    // The field whose objectName is name (nullptr for none).
    QWidget* Field(const QString& name) const { return fields_.value(name); }

    // Applies the W-3 rules to the fields as they stand; the first failure moves the
    // focus to its field and is raised as EFieldException.
    void ValidateFields();
    void W3RecordToWindow();
    // Stores the editable fields into W3Rec; the count and the totals are never read back.
    void W3WindowToRecord();
    void ComputeW3Totals();

    // Every way of closing ends here: the record must pass the rules first.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildFields();
    QWidget* BuildForm();
    QWidget* BuildKindBoxes(QWidget* parent);
    QWidget* BuildButtons();
    void SetTabOrder();

    void FormShow();
    void FormClose();
    void FieldEnter(QWidget* field);
    void FieldExit(QWidget* field);
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
    QHash<QString, QWidget*> fields_;
    QList<QWidget*> tabOrder_;  // the fields, in the order Tab visits them
    bool checkingGroup_ = false;  // BoxbChange is setting the boxes of a group
};

}  // namespace qnvr
