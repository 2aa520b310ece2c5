#pragma once
// The output options step of a report job: where the pages go (printer, preview or a
// file), which printer with its Setup, copies, collation and two-sided printing, and,
// when printing from the preview, which pages.
#include <QDialog>

#include "report/report_job.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qnvr {

// "PRINTER on PORT", or "No printers installed!" when there is no printer.
QString PrinterPortText(const report::PrinterPort& printers, const QString& printer);

class TFrmOutputOptions final : public QDialog {
    Q_OBJECT
public:
    // Edits options when the user confirms. fromPreview: printing from the preview, so
    // the preview is no destination and the page range (pages 1 to pageCount, the
    // selection being currentPage) is offered.
    TFrmOutputOptions(const report::ReportJob& job, report::OutputOptions& options, bool fromPreview,
                      int pageCount = 0, int currentPage = 1, QWidget* parent = nullptr);

    QRadioButton* RbPrinter;
    QRadioButton* RbPreview;
    QRadioButton* RbFile;
    QComboBox* PrinterName;
    QLabel* PrinterPort;
    QPushButton* BtnSetup;
    QSpinBox* Copies;
    QCheckBox* Collate;
    QComboBox* Duplex;
    QLineEdit* FileName;
    QPushButton* BtnBrowse;
    QComboBox* FileFormat;
    QGroupBox* RangeGroup;
    QRadioButton* RbAll;
    QRadioButton* RbSelection;
    QRadioButton* RbPages;
    QSpinBox* PageFrom;
    QSpinBox* PageTo;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

private:
    void BuildWindow();
    void ShowOptions();
    void ShowPrintSettings(const report::PrintSettings& print);
    report::PrintSettings PrintSettingsShown() const;
    void UpdateEnabled();
    void PrinterNameChange();
    void BtnSetupClick();
    void BtnBrowseClick();
    void BtnOkClick();

    const report::ReportJob& job_;
    report::OutputOptions& options_;
    report::PrintSettings setup_;  // paper, bin and orientation chosen through Setup
    bool fromPreview_;
    int pageCount_;
    int currentPage_;
};

}  // namespace qnvr
