#include "ui/csv/frm_import_employees.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "core/base/busy.h"
#include "core/base/errors.h"
#include "core/base/prompter.h"
#include "core/csv/import_choices.h"
#include "ui/base/dialog_buttons.h"
#include "ui/base/error_display.h"
#include "ui/print/file_dialogs.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

const FileDialogSpec kOpenCsvDialog{"OpenCsvDialog", QStringLiteral("Import Employees from"),
                                    QStringLiteral("Comma-separated files (*.csv *.txt)|*.csv;*.txt|All files (*)|*"),
                                    QString(), false};
const FileDialogSpec kSaveListDialog{"SaveRefusedDialog", QStringLiteral("Save the Refused Rows"),
                                     QStringLiteral("Text files (*.txt)|*.txt|All files (*)|*"),
                                     QStringLiteral("txt"), true};

QLabel* Buddy(const QString& caption, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(field);
    return label;
}

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

TFrmImportEmployees::TFrmImportEmployees(TFrmDataModule& dataModule, SettingsStore& settings, std::string startFolder,
                                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint),
      dm_(dataModule),
      settings_(settings),
      startFolder_(std::move(startFolder)) {
    setObjectName(QStringLiteral("FrmImportEmployees"));
    setWindowTitle(tr("Import Employees"));

    FileName = new QLineEdit(this);
    FileName->setObjectName(QStringLiteral("FileName"));
    FileName->setReadOnly(true);
    FileName->setPlaceholderText(tr("Choose the file your payroll system or spreadsheet wrote"));
    BtnBrowse = NamedButton(this, "BtnBrowse", tr("&Browse ..."));

    CmbEncoding = new QComboBox(this);
    CmbEncoding->setObjectName(QStringLiteral("CmbEncoding"));
    for (CsvEncoding encoding : {CsvEncoding::Utf8, CsvEncoding::Windows1252})
        CmbEncoding->addItem(Text(CsvEncodingName(encoding)), static_cast<int>(encoding));
    CmbSeparator = new QComboBox(this);
    CmbSeparator->setObjectName(QStringLiteral("CmbSeparator"));
    for (const CsvSeparatorChoice& choice : CsvSeparatorChoices())
        CmbSeparator->addItem(tr(choice.name), QChar::fromLatin1(choice.separator));
    CmbMapping = new QComboBox(this);
    CmbMapping->setObjectName(QStringLiteral("CmbMapping"));
    CmbMapping->setMinimumContentsLength(16);
    MappingName = new QLineEdit(this);
    MappingName->setObjectName(QStringLiteral("MappingName"));
    MappingName->setAccessibleName(tr("Name of the mapping"));
    BtnSaveMapping = NamedButton(this, "BtnSaveMapping", tr("Sa&ve Mapping"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(Buddy(tr("File:"), FileName, this));
    fileRow->addWidget(FileName, 1);
    fileRow->addWidget(BtnBrowse);
    auto* readRow = new QHBoxLayout;
    readRow->addWidget(Buddy(tr("&Encoding:"), CmbEncoding, this));
    readRow->addWidget(CmbEncoding);
    readRow->addSpacing(12);
    readRow->addWidget(Buddy(tr("Se&parator:"), CmbSeparator, this));
    readRow->addWidget(CmbSeparator);
    readRow->addSpacing(24);
    readRow->addWidget(Buddy(tr("&Mapping:"), CmbMapping, this));
    readRow->addWidget(CmbMapping);
    readRow->addSpacing(12);
    readRow->addWidget(Buddy(tr("&Name:"), MappingName, this));
    readRow->addWidget(MappingName, 1);
    readRow->addWidget(BtnSaveMapping);

    LblRows = new QLabel(this);
    LblRows->setObjectName(QStringLiteral("LblRows"));
    Preview = new QTableWidget(this);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setAccessibleName(tr("The first rows of the file, under the field each column goes to"));
    Preview->setSelectionMode(QAbstractItemView::NoSelection);
    Preview->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* duplicates = new QGroupBox(tr("When the SSN is already in the payer file"), this);
    duplicates->setObjectName(QStringLiteral("GrpDuplicates"));
    RbUpdate = new QRadioButton(tr("&Update that employee"), duplicates);
    RbUpdate->setObjectName(QStringLiteral("RbUpdate"));
    RbSkip = new QRadioButton(tr("S&kip the row"), duplicates);
    RbSkip->setObjectName(QStringLiteral("RbSkip"));
    RbAdd = new QRadioButton(tr("A&dd a new employee"), duplicates);
    RbAdd->setObjectName(QStringLiteral("RbAdd"));
    RbUpdate->setChecked(true);
    auto* duplicateRow = new QHBoxLayout(duplicates);
    for (QRadioButton* button : {RbUpdate, RbSkip, RbAdd}) duplicateRow->addWidget(button);
    duplicateRow->addStretch();

    BtnImport = NamedButton(this, "BtnImport", tr("&Import"));
    LblSummary = new QLabel(this);
    LblSummary->setObjectName(QStringLiteral("LblSummary"));
    LblSummary->setWordWrap(true);
    LblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* importRow = new QHBoxLayout;
    importRow->addWidget(duplicates, 1);
    importRow->addWidget(BtnImport, 0, Qt::AlignBottom);

    RefusedList = new QTableWidget(0, 3, this);
    RefusedList->setObjectName(QStringLiteral("RefusedList"));
    RefusedList->setAccessibleName(tr("Refused rows"));
    RefusedList->setHorizontalHeaderLabels({tr("Line"), tr("Column"), tr("Message")});
    RefusedList->verticalHeader()->setVisible(false);
    RefusedList->horizontalHeader()->setStretchLastSection(true);
    RefusedList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RefusedList->setSelectionBehavior(QAbstractItemView::SelectRows);
    RefusedList->setWordWrap(true);
    BtnSaveList = NamedButton(this, "BtnSaveList", tr("Save &List ..."));
    BtnClose = NamedButton(this, "BtnClose", tr("&Close"));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(BtnSaveList);
    buttonRow->addStretch();
    buttonRow->addWidget(BtnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(readRow);
    layout->addWidget(LblRows);
    layout->addWidget(Preview, 3);
    layout->addLayout(importRow);
    layout->addWidget(LblSummary);
    layout->addWidget(Buddy(tr("Refused rows:"), RefusedList, this));
    layout->addWidget(RefusedList, 2);
    layout->addLayout(buttonRow);
    setMinimumSize(900, 640);

    ConnectCommand(BtnBrowse, &QPushButton::clicked, this, &TFrmImportEmployees::BtnBrowseClick);
    ConnectCommand(CmbEncoding, &QComboBox::activated, this, &TFrmImportEmployees::ReadAgain);
    ConnectCommand(CmbSeparator, &QComboBox::activated, this, &TFrmImportEmployees::ReadAgain);
    ConnectCommand(CmbMapping, &QComboBox::activated, this, &TFrmImportEmployees::CmbMappingChange);
    ConnectCommand(BtnSaveMapping, &QPushButton::clicked, this, &TFrmImportEmployees::BtnSaveMappingClick);
    ConnectCommand(BtnImport, &QPushButton::clicked, this, &TFrmImportEmployees::BtnImportClick);
    ConnectCommand(BtnSaveList, &QPushButton::clicked, this, &TFrmImportEmployees::BtnSaveListClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::accept);

    FillMappingChoices(NamedMappings(settings_).Last());
    MappingName->setText(CmbMapping->currentData().toString());
    UpdateButtons();
    BtnBrowse->setDefault(true);
    BtnBrowse->setFocus();
}

QComboBox* TFrmImportEmployees::FieldCombo(int column) const {
    return qobject_cast<QComboBox*>(Preview->cellWidget(0, column));
}

DuplicateAction TFrmImportEmployees::OnDuplicate() const {
    if (RbSkip->isChecked()) return DuplicateAction::Skip;
    if (RbAdd->isChecked()) return DuplicateAction::Add;
    return DuplicateAction::Update;
}

void TFrmImportEmployees::FillMappingChoices(const std::string& selected) {
    CmbMapping->clear();
    CmbMapping->addItem(tr("(automatic)"), QString());
    for (const std::string& name : NamedMappings(settings_).Names()) CmbMapping->addItem(Text(name), Text(name));
    const int index = CmbMapping->findData(Text(selected));
    CmbMapping->setCurrentIndex(std::max(0, index));
}

void TFrmImportEmployees::BtnBrowseClick() {
    QString path = path_.empty() ? Text(startFolder_) : Text(path_);
    if (!AskFileName(this, kOpenCsvDialog, path)) return;
    path_ = path.toStdString();
    FileName->setText(path);
    ReadFile(std::nullopt, std::nullopt);  // encoding and separator guessed
}

void TFrmImportEmployees::ReadAgain() {
    if (path_.empty()) return;
    ReadFile(static_cast<CsvEncoding>(CmbEncoding->currentData().toInt()),
             CmbSeparator->currentData().toChar().toLatin1());
}

void TFrmImportEmployees::ReadFile(std::optional<CsvEncoding> encoding, std::optional<char> separator) {
    table_.reset();
    imported_ = false;
    ShowRefused({});
    LblSummary->clear();
    try {
        BusyCursor busy(PortsOf(this).busy);
        table_ = ReadImportFile(path_, encoding, separator);
    } catch (...) {
        ShowTable();
        UpdateButtons();
        throw;
    }
    CmbEncoding->setCurrentIndex(CmbEncoding->findData(static_cast<int>(table_->encoding)));
    CmbSeparator->setCurrentIndex(CmbSeparator->findData(QChar::fromLatin1(table_->separator)));
    // A correction the user made stays while the columns stay the same.
    if (table_->header != mappedHeader_) MapColumns();
    ShowTable();
    UpdateButtons();
}

void TFrmImportEmployees::MapColumns() {
    if (!table_) return;
    const std::optional<SavedMapping> saved = NamedMappings(settings_).Find(CmbMapping->currentData().toString().toStdString());
    mapping_ = saved ? ApplySavedMapping(*saved, table_->header) : AutoMapping(table_->header);
    mappedHeader_ = table_->header;
}

void TFrmImportEmployees::CmbMappingChange() {
    const std::string name = CmbMapping->currentData().toString().toStdString();
    MappingName->setText(Text(name));
    NamedMappings(settings_).SetLast(name);
    MapColumns();
    ShowMapping();
}

void TFrmImportEmployees::FieldChange(int column) {
    QComboBox* combo = FieldCombo(column);
    if (!combo) return;
    const auto k = static_cast<std::size_t>(column);
    if (k < mapping_.size()) mapping_[k] = combo->currentData().toString().toStdString();
}

void TFrmImportEmployees::ShowTable() {
    Preview->clear();
    if (!table_) {
        Preview->setRowCount(0);
        Preview->setColumnCount(0);
        LblRows->clear();
        return;
    }
    const CsvTable& table = *table_;
    const int columns = static_cast<int>(table.header.size());
    const int rows = static_cast<int>(std::min(table.rows.size(), kPreviewRows));
    Preview->setColumnCount(columns);
    Preview->setRowCount(rows + 1);
    QStringList headers;
    for (const std::string& header : table.header) headers << Text(header);
    Preview->setHorizontalHeaderLabels(headers);
    QStringList lines{tr("Field")};
    for (int row = 0; row < rows; ++row) lines << QString::number(table.rows[static_cast<std::size_t>(row)].line);
    Preview->setVerticalHeaderLabels(lines);

    for (int column = 0; column < columns; ++column) {
        auto* combo = new QComboBox(Preview);
        combo->setObjectName(QStringLiteral("CmbField%1").arg(column));
        combo->setAccessibleName(tr("Field of column %1").arg(headers[column]));
        combo->setMaxVisibleItems(20);
        for (const FieldChoice& choice : FieldChoices()) combo->addItem(Text(choice.caption), Text(choice.field));
        connect(combo, &QComboBox::activated, this, [this, column] { RunCommand([&] { FieldChange(column); }); });
        Preview->setCellWidget(0, column, combo);
        for (int row = 0; row < rows; ++row) {
            const std::vector<std::string>& cells = table.rows[static_cast<std::size_t>(row)].cells;
            const auto k = static_cast<std::size_t>(column);
            Preview->setItem(row + 1, column, ReadOnlyItem(k < cells.size() ? Text(cells[k]) : QString()));
        }
    }
    LblRows->setText(Text(PreviewCaption(table)));
    ShowMapping();
    Preview->resizeColumnsToContents();
}

void TFrmImportEmployees::ShowMapping() {
    for (int column = 0; column < Preview->columnCount(); ++column) {
        QComboBox* combo = FieldCombo(column);
        const auto k = static_cast<std::size_t>(column);
        if (combo) combo->setCurrentIndex(std::max(0, combo->findData(Text(k < mapping_.size() ? mapping_[k] : ""))));
    }
}

void TFrmImportEmployees::BtnSaveMappingClick() {
    if (!table_) return;
    CheckMapping(mapping_, table_->header);
    NamedMappings mappings(settings_);
    const std::string name = MappingName->text().trimmed().toStdString();
    const std::string selected = CmbMapping->currentData().toString().toStdString();
    if (!name.empty() && mappings.Contains(name) && QString::compare(Text(name), Text(selected), Qt::CaseInsensitive) != 0 &&
        ShowMsg(PortsOf(this).prompter, "A mapping named \"" + name + "\" exists already.~Do you want to replace it?", MsgStyle::YesNoDefaultNo) != MsgButton::Yes)
        return;
    mappings.Save(name, SaveMapping(table_->header, mapping_));
    FillMappingChoices(mappings.Last());
    MappingName->setText(CmbMapping->currentData().toString());
}

void TFrmImportEmployees::BtnImportClick() {
    if (!table_) throw EQnvrException("Choose the file to import first.");
    CheckMapping(mapping_, table_->header);
    ImportPlan plan;
    {
        BusyCursor busy(PortsOf(this).busy);
        plan = PlanImport(dm_, *table_, mapping_, OnDuplicate());
    }
    ShowRefused(plan.refused);
    LblSummary->clear();
    if (const std::string question = RefusedRowsQuestion(plan);
        !question.empty() && ShowMsg(PortsOf(this).prompter, question, MsgStyle::OkCancel) != MsgButton::Ok) {
        LblSummary->setText(tr("Nothing has been imported."));
        return;
    }
    {
        BusyCursor busy(PortsOf(this).busy);
        ApplyImport(dm_, plan);
    }
    imported_ = !plan.changes.empty();  // nothing written: the user may correct the mapping and try again
    LblSummary->setText(Text(ImportSummary(plan)));
    UpdateButtons();
    ShowMsg(PortsOf(this).prompter, ImportDoneMessage(plan), MsgStyle::Information);
}

void TFrmImportEmployees::ShowRefused(const std::vector<RefusedRow>& rows) {
    refused_ = rows;
    RefusedList->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const RefusedRow& refused = rows[static_cast<std::size_t>(row)];
        RefusedList->setItem(row, 0, ReadOnlyItem(QString::number(refused.line)));
        RefusedList->setItem(row, 1, ReadOnlyItem(Text(refused.column)));
        RefusedList->setItem(row, 2, ReadOnlyItem(Text(TildeToBreak(refused.message))));
    }
    RefusedList->resizeColumnToContents(0);
    RefusedList->resizeColumnToContents(1);
    RefusedList->resizeRowsToContents();
    UpdateButtons();
}

void TFrmImportEmployees::BtnSaveListClick() {
    if (refused_.empty()) return;
    const QFileInfo csv(Text(path_));
    QString path = csv.absolutePath() + QLatin1Char('/') + csv.completeBaseName() + tr(" refused rows.txt");
    if (!AskFileName(this, kSaveListDialog, path)) return;
    SaveRefusedRows(path.toStdString(), refused_);
    ShowMsg(PortsOf(this).prompter, "The list of refused rows has been saved to~" + path.toStdString(), MsgStyle::Information);
}

void TFrmImportEmployees::UpdateButtons() {
    const bool read = table_.has_value();
    for (QWidget* w : {static_cast<QWidget*>(CmbEncoding), static_cast<QWidget*>(CmbSeparator)}) w->setEnabled(!path_.empty());
    BtnSaveMapping->setEnabled(read);
    BtnImport->setEnabled(read && !imported_);
    BtnSaveList->setEnabled(!refused_.empty());
    BtnImport->setDefault(read && !imported_);
    BtnBrowse->setDefault(!read || imported_);
}

}  // namespace qnvr
