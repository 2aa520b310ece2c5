#include "ui/print/printer_setup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/text/text.h"
#include "ui/base/error_display.h"
#include "ui/base/help_window.h"
#include "ui/entry/enter_as_tab.h"

namespace qnvr {
namespace {

constexpr int kHelpTopic = 7;

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::vector<std::string> Items(const QComboBox* box) {
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
    return items;
}

void Fill(QComboBox* box, const std::vector<std::string>& items) {
    box->clear();
    for (const auto& item : items) box->addItem(Q(item));
    box->setCurrentIndex(-1);
}

// A drop-down list shows a text only when it is one of its items.
void ShowText(QComboBox* box, const std::string& text) { box->setCurrentIndex(box->findText(Q(Trim(text)))); }

QComboBox* DropDownList(const char* name, const QString& label, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(false);  // typing picks an item, never new text
    box->setAccessibleName(label);
    box->setMinimumContentsLength(30);
    return box;
}

QRadioButton* Radio(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    return button;
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(QString(caption).remove('&'));
    button->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TFrmPrinterSetup::TFrmPrinterSetup(SettingsStore& store, report::PrinterPort* printers, QWidget* parent)
    : TFrmPrinterSetup(&store, nullptr, printers, parent) {}

TFrmPrinterSetup::TFrmPrinterSetup(PrinterSettings& settings, report::PrinterPort* printers, QWidget* parent)
    : TFrmPrinterSetup(nullptr, &settings, printers, parent) {}

TFrmPrinterSetup::TFrmPrinterSetup(SettingsStore* store, PrinterSettings* target, report::PrinterPort* printers,
                                   QWidget* parent)
    : QDialog(parent), store_(store), target_(target), printers_(printers) {
    BuildWindow();
    ShowSettings();
}

void TFrmPrinterSetup::BuildWindow() {
    setObjectName("TFrmPrinterSetup");
    setWindowTitle(tr("Printer Setup"));
    setModal(true);

    PrinterName = DropDownList("PrinterName", tr("Printer name"), this);
    PaperName = DropDownList("PaperName", tr("Paper size"), this);
    BinName = DropDownList("BinName", tr("Paper source"), this);
    Collate = new QCheckBox(tr("Collate"), this);
    Collate->setObjectName("Collate");
    Collate->setAccessibleName(tr("Collate"));
    Copies = new QLineEdit(this);
    Copies->setObjectName("Copies");
    Copies->setAccessibleName(tr("Copies"));
    Copies->setAlignment(Qt::AlignRight);
    Copies->setMaxLength(2);
    Copies->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), Copies));
    Copies->setMaximumWidth(40);

    OrientationGroup = new QGroupBox(tr("Orientation"), this);
    OrientationGroup->setObjectName("OrientationGroup");
    Portrait = Radio("Portrait", tr("Portrait"), OrientationGroup);
    Landscape = Radio("Landscape", tr("Landscape"), OrientationGroup);
    auto* orientation = new QVBoxLayout(OrientationGroup);
    orientation->addWidget(Portrait);
    orientation->addWidget(Landscape);

    DuplexGroup = new QGroupBox(tr("Two-sided Printing"), this);
    DuplexGroup->setObjectName("DuplexGroup");
    Simplex = Radio("Simplex", tr("None"), DuplexGroup);
    Horizontal = Radio("Horizontal", tr("Book"), DuplexGroup);
    Vertical = Radio("Vertical", tr("Tablet"), DuplexGroup);
    auto* duplex = new QVBoxLayout(DuplexGroup);
    duplex->addWidget(Simplex);
    duplex->addWidget(Horizontal);
    duplex->addWidget(Vertical);

    BtnOk = Button("BtnOk", tr("&Ok"), this);
    BtnCancel = Button("BtnCancel", tr("&Cancel"), this);

    auto* form = new QFormLayout;
    form->addRow(tr("Printer name"), PrinterName);
    form->addRow(tr("Paper size"), PaperName);
    form->addRow(tr("Paper source"), BinName);
    form->addRow(QString(), Collate);
    form->addRow(tr("Copies"), Copies);
    auto* groups = new QHBoxLayout;
    groups->addWidget(OrientationGroup);
    groups->addWidget(DuplexGroup);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    // Tab order: the lists, Collate, Copies, then the two groups.
    setTabOrder(PrinterName, PaperName);
    setTabOrder(PaperName, BinName);
    setTabOrder(BinName, Collate);
    setTabOrder(Collate, Copies);
    setTabOrder(Copies, Portrait);
    setTabOrder(Portrait, Simplex);

    enterAsTab_ = new TEnterAsTab(this);
    AttachHelpTopic(this, kHelpTopic);

    connect(PrinterName, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_) RunCommand([this] { PrinterNameChange(); });
    });
    ConnectCommand(BtnOk, &QPushButton::clicked, this, &TFrmPrinterSetup::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// Fresh settings, the installed printers, then the saved setup (or the job's choices).
void TFrmPrinterSetup::ShowSettings() {
    showing_ = true;
    PrinterSettings settings;
    Fill(PrinterName, printers_ ? printers_->Printers() : std::vector<std::string>{});
    if (store_) LoadPrinterSettings(*store_, settings);
    if (target_) settings = *target_;

    ShowText(PrinterName, settings.Name);
    FillPrinterLists();
    ShowText(PaperName, settings.Paper);
    ShowText(BinName, settings.Bin);
    (settings.Orientation == 1 ? Landscape : Portrait)->setChecked(true);
    Collate->setChecked(settings.Collate);
    (settings.Duplex == 1 ? Vertical : settings.Duplex == 2 ? Horizontal : Simplex)->setChecked(true);
    Copies->setText(settings.Copies == 0 ? "1" : QString::number(settings.Copies));
    showing_ = false;
}

// The papers and sources of the printer shown, none selected.
void TFrmPrinterSetup::FillPrinterLists() {
    const std::string printer = PrinterName->currentText().toStdString();
    const bool known = printers_ && !IsBlank(printer);
    Fill(PaperName, known ? printers_->Papers(printer) : std::vector<std::string>{});
    Fill(BinName, known ? printers_->Bins(printer) : std::vector<std::string>{});
}

void TFrmPrinterSetup::PrinterNameChange() { FillPrinterLists(); }

PrinterSettings TFrmPrinterSetup::SettingsShown() const {
    PrinterSettings settings;
    settings.Name = PrinterName->currentText().toStdString();
    settings.Paper = PaperName->currentText().toStdString();
    settings.Bin = BinName->currentText().toStdString();
    settings.Orientation = Landscape->isChecked() ? 1 : 0;
    settings.Collate = Collate->isChecked();
    settings.Duplex = Horizontal->isChecked() ? 2 : Vertical->isChecked() ? 1 : 0;
    settings.Copies = static_cast<int>(StrToInteger(Copies->text().toStdString()));
    return settings;
}

void TFrmPrinterSetup::BtnOkClick() {
    ValidatePrinterSetup({PrinterName->currentText().toStdString(), PaperName->currentText().toStdString(),
                          Items(PaperName), BinName->currentText().toStdString(), Items(BinName),
                          Copies->text().toStdString()});
    const PrinterSettings settings = SettingsShown();
    if (store_) SavePrinterSettings(*store_, settings);
    if (target_) *target_ = settings;
    accept();
}

// Escape leaves the window open; it closes through Ok and Cancel only.
void TFrmPrinterSetup::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace qnvr
