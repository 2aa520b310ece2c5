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

// An offset in inches: a sign, a digit and two decimals at most ("-0.25").
QLineEdit* OffsetField(const char* name, const QString& label, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAccessibleName(label);
    field->setAlignment(Qt::AlignRight);
    field->setMaxLength(5);
    field->setValidator(new QRegularExpressionValidator(QRegularExpression("[+-]?[0-9]?(\\.[0-9]{0,2})?"), field));
    field->setMaximumWidth(60);
    return field;
}

QString ShownOffset(double inches) { return QString::number(inches, 'f', 2); }

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

    Preprinted = new QCheckBox(tr("Preprinted forms"), this);
    Preprinted->setObjectName("Preprinted");
    Preprinted->setAccessibleName(tr("Preprinted forms"));
    Preprinted->setToolTip(tr("Print only the values, onto the official preprinted forms in the printer"));
    OffsetX = OffsetField("OffsetX", tr("Horizontal offset (in)"), this);
    OffsetX->setToolTip(tr("Moves every value right (positive) or left (negative), -0.50 to +0.50 inches"));
    OffsetY = OffsetField("OffsetY", tr("Vertical offset (in)"), this);
    OffsetY->setToolTip(tr("Moves every value down (positive) or up (negative), -0.50 to +0.50 inches"));

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
    auto* preprinted = new QFormLayout;
    preprinted->addRow(QString(), Preprinted);
    preprinted->addRow(tr("Horizontal offset (in)"), OffsetX);
    preprinted->addRow(tr("Vertical offset (in)"), OffsetY);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(groups);
    layout->addLayout(preprinted);
    layout->addLayout(buttons);

    // Tab order: the lists, Collate, Copies, then the two groups.
    setTabOrder(PrinterName, PaperName);
    setTabOrder(PaperName, BinName);
    setTabOrder(BinName, Collate);
    setTabOrder(Collate, Copies);
    setTabOrder(Copies, Portrait);
    setTabOrder(Portrait, Simplex);
    setTabOrder(Vertical, Preprinted);
    setTabOrder(Preprinted, OffsetX);
    setTabOrder(OffsetX, OffsetY);

    // One job's choices are its printer's; the forms in the printer are the setup's.
    const bool programSetup = store_ != nullptr;
    for (QWidget* w : {static_cast<QWidget*>(Preprinted), static_cast<QWidget*>(OffsetX), static_cast<QWidget*>(OffsetY)})
        w->setVisible(programSetup);
    for (QWidget* w : {static_cast<QWidget*>(OffsetX), static_cast<QWidget*>(OffsetY)}) {
        if (auto* label = preprinted->labelForField(w)) label->setVisible(programSetup);
    }

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
    Preprinted->setChecked(settings.Preprinted);
    OffsetX->setText(ShownOffset(settings.OffsetX));
    OffsetY->setText(ShownOffset(settings.OffsetY));
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
    if (target_) settings = *target_;  // what the window does not show stays as it was
    settings.Name = PrinterName->currentText().toStdString();
    settings.Paper = PaperName->currentText().toStdString();
    settings.Bin = BinName->currentText().toStdString();
    settings.Orientation = Landscape->isChecked() ? 1 : 0;
    settings.Collate = Collate->isChecked();
    settings.Duplex = Horizontal->isChecked() ? 2 : Vertical->isChecked() ? 1 : 0;
    settings.Copies = static_cast<int>(StrToInteger(Copies->text().toStdString()));
    if (store_) {
        settings.Preprinted = Preprinted->isChecked();
        settings.OffsetX = ParseFormOffset(OffsetX->text().toStdString()).value_or(0);
        settings.OffsetY = ParseFormOffset(OffsetY->text().toStdString()).value_or(0);
    }
    return settings;
}

void TFrmPrinterSetup::BtnOkClick() {
    ValidatePrinterSetup({PrinterName->currentText().toStdString(), PaperName->currentText().toStdString(),
                          Items(PaperName), BinName->currentText().toStdString(), Items(BinName),
                          Copies->text().toStdString(), OffsetX->text().toStdString(),
                          OffsetY->text().toStdString()});
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
