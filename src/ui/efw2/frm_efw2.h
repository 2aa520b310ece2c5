#pragma once
// TFrmEFW2: the EFW2 window. The submitter fields of the RA record sit in a white
// scrolling area, each behind its caption and a row of dots; the right column holds the
// buttons, the two "Exclude the following records" check boxes and the totals since the
// last reset; the bottom panel names the open payer file's employer (the client).
//
// The window only moves text between its fields and the run (core/efw2/efw2_run.h) and
// shows what the run reports: which buttons are available, the totals, the clients.
#include <QColor>
#include <QDialog>
#include <QHash>

#include <string>
#include <vector>

#include "core/efw2/efw2_files.h"
#include "core/efw2/efw2_run.h"
#include "ui/entry/field_color.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace qnvr {

class TCheckBoxEdit;
class TDollarEdit;
class TFilterEdit;
class TMaskEdit;
class TStateEdit;

inline constexpr const char* kCountryCodesFile = "CountryCodes.pdf";
inline constexpr const char* kCountryCodesMissing = "The Country Codes file cannot no be found";

class TFrmEFW2 final : public QDialog {
    Q_OBJECT
public:
    // masterList: the program-wide lines of the master file, kept between openings.
    TFrmEFW2(TFrmDataModule& dataModule, std::vector<std::string>& masterList, Efw2Paths paths,
             QWidget* parent = nullptr);

    // The opening steps: loads the settings and the run state into the window. Raises
    // the file errors of the run; the window is not shown then.
    void FormShow();

    const Efw2Run& Run() const { return run_; }

    // Submitter fields, in tab order.
    TMaskEdit* EIN;
    TFilterEdit* UserID;
    TCheckBoxEdit* ResubInd;
    TFilterEdit* ResubID;
    TFilterEdit *CompanyName, *LocationAddr, *DeliveryAddr, *City;
    TStateEdit* StateCode;
    TFilterEdit *ZipCode, *ZipCodeExt, *ForeignState, *ForeignZip, *CountryCode;
    QPushButton* BtnViewCountryCodes;
    TFilterEdit *SubmitName, *SubmitAddr1, *SubmitAddr2, *SubmitCity;
    TStateEdit* SubmitState;
    TFilterEdit *SubmitZip, *SubmitZipExt, *SubmitFSP, *SubmitFPC, *SubmitCC;
    TFilterEdit* ContactName;
    TMaskEdit* ContactPhone;
    TFilterEdit *ContactExt, *ContactEmail, *ContactFax, *PreparerCode;
    QScrollArea* ScrollBox;

    // Right column and bottom panel.
    QPushButton *BtnHelp, *BtnProcess, *BtnReset, *BtnClose;
    QGroupBox* GroupBox;
    QCheckBox *ChkSubmitter, *ChkFinal;
    QPlainTextEdit* MemoClientsProcessed;
    QLabel* LblTotalRecords;
    QLineEdit *TotalClients, *TotalRecords;
    TDollarEdit* FW3Amount1;
    QLabel* CurClientPanel;
    // Why Process is not available (or that it is ready), and where the EFW2 files of
    // this payer are, with a button that opens their folder.
    QLabel* ProcessHint;
    QLabel* Efw2Files;
    QPushButton* BtnOpenFolder;

    // The marking colours of the submitter fields.
    static QColor FocusColor() { return kVisitHighlight; }
    static QColor MarkColor() { return {255, 147, 147}; }

public slots:
    // Closing runs the closing steps first; a refusal is shown and the window stays open.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A submitter field and the settings field it is kept in (none for ResubInd).
    struct Binding {
        QWidget* field;
        const FieldLayout<SubmitterRecord>* setting;
    };
    QWidget* BuildSubmitterArea();
    QWidget* BuildRightColumn();

    void FieldEnter(QWidget* field);
    void FieldExit(QWidget* field);
    void ColorValidatedFields();
    void ResubIndChanged();

    void FillWindowFromSettings();
    void CopyWindowToSettings();
    void ShowRunState();
    void ShowEfw2Files();
    void BtnOpenFolderClick();
    bool FormClose();

    void BtnProcessClick();
    void BtnResetClick();
    void BtnViewCountryCodesClick();
    void BtnHelpClick();
    void ChkSubmitterClick(bool checked);
    void ChkFinalClick(bool checked);

    Efw2Run run_;
    std::vector<Binding> bindings_;
    QHash<QWidget*, QColor> colorOnEntry_;
    QColor windowColor_;
    bool centred_ = false;
};

}  // namespace qnvr
