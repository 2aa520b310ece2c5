#pragma once
// TFrmImportEmployees: brings employees from a comma-separated file into the open payer
// file. The user chooses the file, corrects the guessed encoding and separator, sees
// the first rows under the field each column goes to and corrects that mapping (and
// may keep it by a name), chooses what happens to an employee already in the file,
// and imports. Rows that are refused are listed with line, column and message, and the
// list can be saved. The planning, the writing (all or nothing) and every message come
// from core/csv; the window shows them and passes the choices on.
#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "core/base/settings_store.h"
#include "core/csv/employee_import.h"
#include "core/store/data_module.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace qnvr {

class TFrmImportEmployees final : public QDialog {
    Q_OBJECT
public:
    // startFolder: where the file dialog starts (the data folder).
    TFrmImportEmployees(TFrmDataModule& dataModule, SettingsStore& settings, std::string startFolder,
                        QWidget* parent = nullptr);

    QLineEdit* FileName;  // read-only: the file chosen with Browse
    QPushButton* BtnBrowse;
    QComboBox* CmbEncoding;
    QComboBox* CmbSeparator;
    QComboBox* CmbMapping;  // "(automatic)", then the saved mappings by name
    QLineEdit* MappingName;
    QPushButton* BtnSaveMapping;
    QLabel* LblRows;
    // Row 0 holds a combo box per column ("CmbField0", ...): the field the column goes
    // to. The rows below are the file's first rows, headed by their line numbers.
    QTableWidget* Preview;
    QRadioButton* RbUpdate;
    QRadioButton* RbSkip;
    QRadioButton* RbAdd;
    QPushButton* BtnImport;
    QLabel* LblSummary;
    QTableWidget* RefusedList;  // line, column, message
    QPushButton* BtnSaveList;
    QPushButton* BtnClose;

    QComboBox* FieldCombo(int column) const;
    const ColumnMapping& Mapping() const { return mapping_; }

private:
    void BtnBrowseClick();
    void ReadAgain();  // the encoding or the separator was changed
    void CmbMappingChange();
    void FieldChange(int column);
    void BtnSaveMappingClick();
    void BtnImportClick();
    void BtnSaveListClick();

    void ReadFile(std::optional<CsvEncoding> encoding, std::optional<char> separator);
    void MapColumns();  // the mapping of the file's header under the chosen saved mapping
    void FillMappingChoices(const std::string& selected);
    void ShowTable();
    void ShowMapping();
    void ShowRefused(const std::vector<RefusedRow>& rows);
    void UpdateButtons();
    DuplicateAction OnDuplicate() const;

    TFrmDataModule& dm_;
    SettingsStore& settings_;
    std::string startFolder_;
    std::string path_;
    std::optional<CsvTable> table_;
    ColumnMapping mapping_;
    std::vector<std::string> mappedHeader_;  // the header mapping_ was made for
    bool imported_ = false;  // employees of this reading of the file have been written
    std::vector<RefusedRow> refused_;
};

}  // namespace qnvr
