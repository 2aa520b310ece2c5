#pragma once
// "Cyan Dusk", the program's look: a calm dusk-teal frame around light entry fields, so
// that typed figures read clearly. A proxy over Qt's Fusion style with our own palette.
#include <QColor>
#include <QProxyStyle>

namespace qnvr {

class CyanDuskStyle final : public QProxyStyle {
public:
    CyanDuskStyle();
    QPalette standardPalette() const override;
    void polish(QPalette& palette) override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};

// The teal of the "no payer file open" panel.
QColor CyanDuskPanelColor();

// Makes Cyan Dusk the look of the whole application.
void ApplyCyanDusk();

}  // namespace qnvr
