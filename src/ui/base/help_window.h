#pragma once
// The program's help: numbered HTML topics delivered beside the program (help/<n>.html),
// shown in one help window that stays open next to the program's windows and follows
// the links between topics.
#include <QDialog>

class QPushButton;
class QTextBrowser;

namespace qnvr {

class TFrmHelp final : public QDialog {
    Q_OBJECT
public:
    explicit TFrmHelp(QWidget* parent = nullptr);
    void ShowTopic(const QString& file);

    QTextBrowser* Topic;
    QPushButton* BtnContents;
    QPushButton* BtnBack;
};

// Shows a topic in the help window, opening the window when needed; a topic that was
// not delivered is reported in an error box. Returns the window (nullptr then).
TFrmHelp* ShowHelpTopic(const QWidget* from, int topic);

// F1 anywhere in window shows the topic.
void AttachHelpTopic(QWidget* window, int topic);

}  // namespace qnvr
