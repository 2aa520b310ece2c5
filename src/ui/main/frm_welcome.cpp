#include "ui/main/frm_welcome.h"

#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "core/program/program_setup.h"
#include "ui/main/product_icon.h"

namespace qnvr {

TFrmWelcome::TFrmWelcome() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmWelcome"));
    setFixedSize(420, 134);
    auto* icon = new QLabel(this);
    icon->setPixmap(ProductPixmap(64));
    LblProductName = new QLabel(QString::fromLatin1(kProductName), this);
    LblProductName->setObjectName(QStringLiteral("LblProductName"));
    QFont title = LblProductName->font();
    title.setPointSize(title.pointSize() + 5);
    title.setBold(true);
    LblProductName->setFont(title);
    LblVersion = new QLabel(QStringLiteral("Version ") + QString::fromLatin1(kProgramVersion), this);
    LblVersion->setObjectName(QStringLiteral("LblVersion"));
    auto* texts = new QVBoxLayout;
    texts->addStretch();
    texts->addWidget(LblProductName);
    texts->addWidget(LblVersion);
    texts->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addLayout(texts, 1);
}

void TFrmWelcome::ShowFor(int milliseconds) {
    TFrmWelcome welcome;
    if (QScreen* screen = QApplication::primaryScreen())
        welcome.move(screen->availableGeometry().center() - welcome.rect().center());
    welcome.show();
    welcome.repaint();
    QEventLoop wait;
    QTimer::singleShot(milliseconds, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace qnvr
