#include "ui/main/frm_about.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/program/program_setup.h"
#include "core/program/system_memory.h"
#include "platform/shell.h"
#include "ui/main/product_icon.h"
#include "ui/main/program_windows.h"
#include "ui/base/dialog_buttons.h"
#include "ui/base/extruded_label.h"
#include "ui/base/modal.h"

namespace qnvr {
namespace {

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

}  // namespace

TFrmAbout::TFrmAbout(QWidget* parent, std::function<bool(const std::string&)> openWebAddress)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      openWebAddress_(openWebAddress ? std::move(openWebAddress) : platform::OpenWebAddress) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(tr("About QNVR"));
    setFixedSize(390, 345);

    LblProductName = new TExtrudedLabel(QString::fromLatin1(kProductName), 4, this);
    LblProductName->setObjectName(QStringLiteral("LblProductName"));
    QFont title = LblProductName->font();
    title.setPointSize(14);
    title.setBold(true);
    LblProductName->setFont(title);
    LblProductName->setAlignment(Qt::AlignCenter);
    ProgramIcon = NamedLabel(this, "ProgramIcon", {});
    ProgramIcon->setPixmap(ProductPixmap(48));
    LblVersion = NamedLabel(this, "LblVersion", QStringLiteral("Version ") + QString::fromLatin1(kProgramVersion));
    LblWebSite = NamedLabel(this, "LblWebSite", {});
    const QString address = QString::fromLatin1(kMakerWebAddress);
    LblWebSite->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(address));
    LblWebSite->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    LblWebSite->setCursor(Qt::PointingHandCursor);
    LblWebSite->setAccessibleName(address);
    connect(LblWebSite, &QLabel::linkActivated, this, [this] { LblWebSiteClick(); });

    Label3 = NamedLabel(this, "Label3", tr("Physical Memory Available to Linux:"));
    PhysMem = NamedLabel(this, "PhysMem", {});
    Label4 = NamedLabel(this, "Label4", tr("Memory in Use:"));
    FreeRes = NamedLabel(this, "FreeRes", {});
    LblLicensedUse = NamedLabel(this, "LblLicensedUse",
                                tr("License Agreement governs your use of this  Program  and  the  EFW2  Module."));
    LblLicensedUse->setWordWrap(true);
    BtnOk = NamedButton(this, "BtnOk", tr("OK"));
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* memory = new QGridLayout;
    memory->addWidget(Label3, 0, 0);
    memory->addWidget(PhysMem, 0, 1, Qt::AlignRight);
    memory->addWidget(Label4, 1, 0);
    memory->addWidget(FreeRes, 1, 1, Qt::AlignRight);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProgramIcon, 0, Qt::AlignCenter);
    layout->addWidget(LblProductName);
    layout->addWidget(LblVersion, 0, Qt::AlignCenter);
    layout->addWidget(LblWebSite, 0, Qt::AlignCenter);
    layout->addStretch();
    layout->addLayout(memory);
    layout->addStretch();
    layout->addWidget(LblLicensedUse);
    layout->addLayout(buttons);
}

// The figures are read once, when the window shows.
void TFrmAbout::showEvent(QShowEvent* event) {
    const MemoryFigures figures = ReadMemoryFigures();
    PhysMem->setText(QString::fromStdString(FormatKilobytes(figures.totalKb)));
    FreeRes->setText(QString::fromStdString(FormatLoad(figures.loadPercent)));
    QDialog::showEvent(event);
}

void TFrmAbout::LblWebSiteClick() {
    openWebAddress_(kMakerWebAddress);
    accept();
}

namespace {

const ProgramWindowRegistration about{ProgramWindow::About, [](QWidget* parent, ProgramContext&) {
    TFrmAbout window(parent);
    ExecModal(window);
}};

}  // namespace
}  // namespace qnvr
