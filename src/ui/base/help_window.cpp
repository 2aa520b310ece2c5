#include "ui/base/help_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/base/prompter.h"
#include "platform/qt_folders.h"
#include "platform/shell.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

constexpr int kContentsTopic = 1;

QPointer<TFrmHelp>& HelpWindow() {
    static QPointer<TFrmHelp> window;
    return window;
}

// The help window belongs to the modal window the user is in, if any: a window outside
// it could not be used until that one closes.
TFrmHelp* HelpWindowFor(QWidget* owner) {
    QPointer<TFrmHelp>& window = HelpWindow();
    if (window && window->parentWidget() != owner) delete window.data();
    if (!window) window = new TFrmHelp(owner);
    return window;
}

}  // namespace

TFrmHelp::TFrmHelp(QWidget* parent) : QDialog(parent, Qt::Window) {
    setObjectName(QStringLiteral("FrmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Quenvora W-2 Help"));
    Topic = new QTextBrowser(this);
    Topic->setObjectName(QStringLiteral("Topic"));
    Topic->setAccessibleName(tr("Help topic"));
    Topic->setOpenExternalLinks(true);
    Topic->setSearchPaths({platform::HelpFolder(platform::QtFolders().ProgramDir())});
    BtnContents = new QPushButton(tr("&Contents"), this);
    BtnContents->setObjectName(QStringLiteral("BtnContents"));
    BtnBack = new QPushButton(tr("&Back"), this);
    BtnBack->setObjectName(QStringLiteral("BtnBack"));
    BtnBack->setEnabled(false);
    connect(BtnBack, &QPushButton::clicked, Topic, &QTextBrowser::backward);
    connect(Topic, &QTextBrowser::backwardAvailable, BtnBack, &QPushButton::setEnabled);
    connect(Topic, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(Topic->documentTitle()); });
    connect(BtnContents, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, kContentsTopic); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnContents);
    buttons->addWidget(BtnBack);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Topic);
    resize(640, 560);
}

void TFrmHelp::ShowTopic(const QString& file) { Topic->setSource(QUrl::fromLocalFile(file)); }

TFrmHelp* ShowHelpTopic(const QWidget* from, int topic) {
    const std::string programDir = platform::QtFolders().ProgramDir();
    const std::optional<QString> file = platform::HelpTopicFile(programDir, topic);
    if (!file) {
        ShowMsg(PortsOf(from).prompter, "Help topic " + std::to_string(topic) + " cannot be found in " + platform::HelpFolder(programDir).toStdString(),
                MsgStyle::Error);
        return nullptr;
    }
    TFrmHelp* window = HelpWindowFor(QApplication::activeModalWidget());
    window->ShowTopic(*file);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void AttachHelpTopic(QWidget* window, int topic) {
    auto* shortcut = new QShortcut(QKeySequence::HelpContents, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, [window, topic] { ShowHelpTopic(window, topic); });
}

}  // namespace qnvr
