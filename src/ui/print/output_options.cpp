#include "ui/print/output_options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/base/errors.h"
#include "core/print/printer_settings.h"
#include "report/printer_port.h"
#include "ui/base/error_display.h"
#include "ui/base/modal.h"
#include "ui/print/file_dialogs.h"
#include "ui/print/printer_setup.h"

namespace qnvr {
namespace {

using report::ReportDestination;

const char* const kFileFilter = "Snapshot Document (*.ndr)|*.ndr|Adobe Portable Document (*.pdf)|*.pdf";

template <class Widget>
Widget* Named(Widget* widget, const char* name, const QString& accessibleName) {
    widget->setObjectName(name);
    widget->setAccessibleName(QString(accessibleName).remove('&'));
    return widget;
}

PrinterSettings ToPrinterSettings(const report::PrintSettings& s) {
    return {s.printer, s.paper, s.bin, StoredOrientation(s.orientation), s.collate, StoredDuplex(s.duplex), s.copies};
}

report::PrintSettings ToPrintSettings(const PrinterSettings& s) {
    return {s.Name, s.Paper, s.Bin, OrientationFromStored(s.Orientation), s.Collate, DuplexFromStored(s.Duplex),
            std::max(1, s.Copies)};
}

}  // namespace

QString PrinterPortText(const report::PrinterPort& printers, const QString& printer) {
    if (printers.Printers().empty()) return QObject::tr("No printers installed!");
    if (printer.isEmpty()) return {};
    return QObject::tr("%1 on %2").arg(printer, QString::fromStdString(printers.PortName(printer.toStdString())));
}

TFrmOutputOptions::TFrmOutputOptions(const report::ReportJob& job, report::OutputOptions& options, bool fromPreview,
                                     int pageCount, int currentPage, QWidget* parent)
    : QDialog(parent),
      job_(job),
      options_(options),
      setup_(options.print),
      fromPreview_(fromPreview),
      pageCount_(pageCount),
      currentPage_(currentPage) {
    BuildWindow();
    ShowOptions();
    // Only the user's choice of another printer drops the paper and source shown.
    connect(PrinterName, &QComboBox::currentIndexChanged, this, &TFrmOutputOptions::PrinterNameChange);
}

void TFrmOutputOptions::BuildWindow() {
    setObjectName("TFrmOutputOptions");
    setWindowTitle(QString::fromStdString(job_.TitleSetup));
    setModal(true);

    auto* destination = new QGroupBox(tr("Destination"), this);
    RbPrinter = Named(new QRadioButton(tr("&Printer"), destination), "RbPrinter", tr("Printer"));
    RbPreview = Named(new QRadioButton(tr("Pre&view"), destination), "RbPreview", tr("Preview"));
    RbFile = Named(new QRadioButton(tr("&File"), destination), "RbFile", tr("File"));
    auto* destinationLayout = new QHBoxLayout(destination);
    destinationLayout->addWidget(RbPrinter);
    destinationLayout->addWidget(RbPreview);
    destinationLayout->addWidget(RbFile);

    auto* printer = new QGroupBox(tr("Printer"), this);
    PrinterName = Named(new QComboBox(printer), "PrinterName", tr("Printer name"));
    PrinterPort = Named(new QLabel(printer), "PrinterPort", tr("Printer"));
    BtnSetup = Named(new QPushButton(tr("&Setup..."), printer), "BtnSetup", tr("Setup"));
    Copies = Named(new QSpinBox(printer), "Copies", tr("Copies"));
    Copies->setRange(1, 999);
    Collate = Named(new QCheckBox(tr("C&ollate"), printer), "Collate", tr("Collate"));
    Duplex = Named(new QComboBox(printer), "Duplex", tr("Two-sided printing"));
    Duplex->addItem(tr("None"), StoredDuplex(DuplexMode::dupSimplex));
    Duplex->addItem(tr("Book"), StoredDuplex(DuplexMode::dupHorizontal));
    Duplex->addItem(tr("Tablet"), StoredDuplex(DuplexMode::dupVertical));
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(PrinterName, 1);
    printerRow->addWidget(BtnSetup);
    auto* printerLayout = new QFormLayout(printer);
    printerLayout->addRow(tr("Name"), printerRow);
    printerLayout->addRow(QString(), PrinterPort);
    printerLayout->addRow(tr("Copies"), Copies);
    printerLayout->addRow(QString(), Collate);
    printerLayout->addRow(tr("Two-sided"), Duplex);

    auto* file = new QGroupBox(tr("File"), this);
    FileName = Named(new QLineEdit(file), "FileName", tr("File name"));
    BtnBrowse = Named(new QPushButton(tr("&Browse..."), file), "BtnBrowse", tr("Browse"));
    FileFormat = Named(new QComboBox(file), "FileFormat", tr("File format"));
    FileFormat->addItems(DialogFilters(kFileFilter));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(FileName, 1);
    fileRow->addWidget(BtnBrowse);
    auto* fileLayout = new QFormLayout(file);
    fileLayout->addRow(tr("Name"), fileRow);
    fileLayout->addRow(tr("Format"), FileFormat);

    RangeGroup = Named(new QGroupBox(tr("Pages"), this), "RangeGroup", tr("Pages"));
    RbAll = Named(new QRadioButton(tr("&All"), RangeGroup), "RbAll", tr("All"));
    RbSelection = Named(new QRadioButton(tr("S&election"), RangeGroup), "RbSelection", tr("Selection"));
    RbPages = Named(new QRadioButton(tr("Pa&ges"), RangeGroup), "RbPages", tr("Pages"));
    PageFrom = Named(new QSpinBox(RangeGroup), "PageFrom", tr("From page"));
    PageTo = Named(new QSpinBox(RangeGroup), "PageTo", tr("To page"));
    const int lastPage = pageCount_ > 0 ? pageCount_ : 99999;
    PageFrom->setRange(1, lastPage);
    PageTo->setRange(1, lastPage);
    PageTo->setValue(lastPage);
    auto* rangeLayout = new QHBoxLayout(RangeGroup);
    rangeLayout->addWidget(RbAll);
    rangeLayout->addWidget(RbSelection);
    rangeLayout->addWidget(RbPages);
    rangeLayout->addWidget(PageFrom);
    rangeLayout->addWidget(new QLabel(tr("to"), RangeGroup));
    rangeLayout->addWidget(PageTo);
    RangeGroup->setVisible(fromPreview_);

    BtnOk = Named(new QPushButton(tr("OK"), this), "BtnOk", tr("OK"));
    BtnOk->setDefault(true);
    BtnCancel = Named(new QPushButton(tr("Cancel"), this), "BtnCancel", tr("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(destination);
    layout->addWidget(printer);
    layout->addWidget(file);
    layout->addWidget(RangeGroup);
    layout->addLayout(buttons);

    for (QRadioButton* button : {RbPrinter, RbPreview, RbFile, RbAll, RbSelection, RbPages})
        connect(button, &QRadioButton::toggled, this, &TFrmOutputOptions::UpdateEnabled);
    connect(PageFrom, &QSpinBox::valueChanged, this, [this] { RbPages->setChecked(true); });
    connect(PageTo, &QSpinBox::valueChanged, this, [this] { RbPages->setChecked(true); });
    ConnectCommand(BtnSetup, &QPushButton::clicked, this, &TFrmOutputOptions::BtnSetupClick);
    ConnectCommand(BtnBrowse, &QPushButton::clicked, this, &TFrmOutputOptions::BtnBrowseClick);
    ConnectCommand(BtnOk, &QPushButton::clicked, this, &TFrmOutputOptions::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmOutputOptions::ShowOptions() {
    const auto setups = job_.Setups;
    const bool anyPrinter = !job_.Ports().printer.Printers().empty();
    RbPrinter->setEnabled(setups.Has(report::ReportSetup::ssAllowDestPrinter) && anyPrinter);
    RbPreview->setEnabled(setups.Has(report::ReportSetup::ssAllowDestPreview) && !fromPreview_);
    RbPreview->setVisible(!fromPreview_);
    RbFile->setEnabled(setups.Has(report::ReportSetup::ssAllowDestFile));

    for (const auto& name : job_.Ports().printer.Printers()) PrinterName->addItem(QString::fromStdString(name));
    ShowPrintSettings(options_.print);

    // The asked-for destination when it is allowed, else the first one that is.
    QRadioButton* wanted = options_.destination == ReportDestination::Printer ? RbPrinter
                           : options_.destination == ReportDestination::File  ? RbFile
                                                                               : RbPreview;
    if (fromPreview_ && wanted == RbPreview) wanted = RbPrinter;
    for (QRadioButton* button : {wanted, RbPrinter, RbPreview, RbFile}) {
        if (button->isEnabled()) {
            button->setChecked(true);
            break;
        }
    }
    FileName->setText(QString::fromStdString(options_.fileName.string()));
    FileFormat->setCurrentIndex(options_.fileFormat == report::FileFormat::Pdf ? 1 : 0);
    RbAll->setChecked(true);
    UpdateEnabled();
}

void TFrmOutputOptions::ShowPrintSettings(const report::PrintSettings& print) {
    const int index = PrinterName->findText(QString::fromStdString(print.printer));
    PrinterName->setCurrentIndex(index >= 0 ? index : PrinterName->count() > 0 ? 0 : -1);
    Copies->setValue(std::max(1, print.copies));
    Collate->setChecked(print.collate);
    Duplex->setCurrentIndex(std::max(0, Duplex->findData(StoredDuplex(print.duplex))));
    PrinterPort->setText(PrinterPortText(job_.Ports().printer, PrinterName->currentText()));
}

report::PrintSettings TFrmOutputOptions::PrintSettingsShown() const {
    report::PrintSettings print = setup_;
    print.printer = PrinterName->currentText().toStdString();
    print.copies = Copies->value();
    print.collate = Collate->isChecked();
    print.duplex = DuplexFromStored(Duplex->currentData().toInt());
    return print;
}

void TFrmOutputOptions::UpdateEnabled() {
    const auto setups = job_.Setups;
    const bool printing = RbPrinter->isChecked();
    PrinterName->setEnabled(printing);
    BtnSetup->setEnabled(printing && setups.Has(report::ReportSetup::ssAllowPrinterSetup));
    Copies->setEnabled(printing && setups.Has(report::ReportSetup::ssAllowCopies));
    Collate->setEnabled(printing && setups.Has(report::ReportSetup::ssAllowCollate));
    Duplex->setEnabled(printing && setups.Has(report::ReportSetup::ssAllowDuplex));
    const bool toFile = RbFile->isChecked();
    FileName->setEnabled(toFile);
    BtnBrowse->setEnabled(toFile);
    FileFormat->setEnabled(toFile);
    BtnOk->setEnabled(RbPrinter->isChecked() || RbPreview->isChecked() || RbFile->isChecked());
}

// Another printer: its own papers and sources apply, so what Setup chose is dropped.
void TFrmOutputOptions::PrinterNameChange() {
    setup_.paper.clear();
    setup_.bin.clear();
    PrinterPort->setText(PrinterPortText(job_.Ports().printer, PrinterName->currentText()));
}

void TFrmOutputOptions::BtnSetupClick() {
    PrinterSettings settings = ToPrinterSettings(PrintSettingsShown());
    TFrmPrinterSetup setup(settings, &job_.Ports().printer, this);
    if (ExecModal(setup) != QDialog::Accepted) return;
    const report::PrintSettings chosen = ToPrintSettings(settings);
    ShowPrintSettings(chosen);
    setup_ = chosen;
}

void TFrmOutputOptions::BtnBrowseClick() {
    const bool pdf = FileFormat->currentIndex() == 1;
    const FileDialogSpec spec{"SaveDialogFile", tr("Output File"), kFileFilter, pdf ? "pdf" : "ndr", true};
    QString path = FileName->text();
    if (!AskFileName(this, spec, path)) return;
    FileName->setText(path);
    FileFormat->setCurrentIndex(path.endsWith(".pdf", Qt::CaseInsensitive) ? 1 : 0);
}

void TFrmOutputOptions::BtnOkClick() {
    if (RbFile->isChecked() && FileName->text().trimmed().isEmpty())
        throw EFieldException("FileName", "Enter the name of the file to write the report to.");
    if (RbPages->isChecked() && PageFrom->value() > PageTo->value())
        throw EFieldException("PageTo", "The last page to print comes before the first.");

    options_.destination = RbPrinter->isChecked() ? ReportDestination::Printer
                           : RbFile->isChecked()  ? ReportDestination::File
                                                  : ReportDestination::Preview;
    if (RbPrinter->isChecked()) options_.print = PrintSettingsShown();
    options_.fileName = FileName->text().trimmed().toStdString();
    options_.fileFormat = FileFormat->currentIndex() == 1 ? report::FileFormat::Pdf : report::FileFormat::Snapshot;
    options_.range = RbSelection->isChecked() ? report::PageRange{currentPage_, currentPage_}
                     : RbPages->isChecked()   ? report::PageRange{PageFrom->value(), PageTo->value()}
                                              : report::PageRange{};
    accept();
}

}  // namespace qnvr
