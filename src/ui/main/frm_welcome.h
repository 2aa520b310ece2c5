#pragma once
// TFrmWelcome: the borderless panel with the product's name and version that greets the
// user while the main window gets ready.
#include <QWidget>

class QLabel;

namespace qnvr {

class TFrmWelcome final : public QWidget {
    Q_OBJECT
public:
    TFrmWelcome();
    QLabel* LblProductName;
    QLabel* LblVersion;

    // Shows the panel centred on the screen for the given time, then closes it.
    static void ShowFor(int milliseconds);
};

}  // namespace qnvr
