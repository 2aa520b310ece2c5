#pragma once
// TFrmPrinterSetup: the printer, paper, paper source, orientation, collation, two-sided
// mode and copies that every printed form uses. Opened from Print Setup it shows and
// saves the program's setup (the "Printer" key); opened from a job's output options it
// edits that job's choices only. The preprinted forms choice and its alignment offset
// belong to the program's setup and show only there.
#include <QDialog>

#include "core/base/settings_store.h"
#include "core/print/printer_settings.h"
#include "report/printer_port.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qnvr {

class TEnterAsTab;

class TFrmPrinterSetup final : public QDialog {
    Q_OBJECT
public:
    // The program's setup, loaded from and saved to store.
    TFrmPrinterSetup(SettingsStore& store, report::PrinterPort* printers, QWidget* parent = nullptr);
    // One job's choices: shows settings and writes them back on Ok; saves nothing.
    TFrmPrinterSetup(PrinterSettings& settings, report::PrinterPort* printers, QWidget* parent = nullptr);

    QComboBox* PrinterName;
    QComboBox* PaperName;
    QComboBox* BinName;
    QCheckBox* Collate;
    QLineEdit* Copies;
    QGroupBox* OrientationGroup;
    QRadioButton* Portrait;
    QRadioButton* Landscape;
    QGroupBox* DuplexGroup;
    QRadioButton* Simplex;
    QRadioButton* Horizontal;
    QRadioButton* Vertical;
    QCheckBox* Preprinted;
    QLineEdit* OffsetX;
    QLineEdit* OffsetY;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void BtnOkClick();
    void PrinterNameChange();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TFrmPrinterSetup(SettingsStore* store, PrinterSettings* target, report::PrinterPort* printers, QWidget* parent);
    void BuildWindow();
    void ShowSettings();
    void FillPrinterLists();
    PrinterSettings SettingsShown() const;

    SettingsStore* store_;
    PrinterSettings* target_;
    report::PrinterPort* printers_;
    TEnterAsTab* enterAsTab_ = nullptr;
    bool showing_ = false;
};

}  // namespace qnvr
