#include "ui/base/cyan_dusk.h"

#include <QApplication>
#include <QStyleFactory>

namespace qnvr {
namespace {

struct Role {
    QPalette::ColorRole role;
    QColor color;
};

const Role kRoles[] = {
    {QPalette::Window, QColor(0x2E, 0x4D, 0x5A)},
    {QPalette::WindowText, QColor(0xE8, 0xF6, 0xF7)},
    {QPalette::Base, QColor(0xF7, 0xFC, 0xFC)},
    {QPalette::AlternateBase, QColor(0xDD, 0xEF, 0xF1)},
    {QPalette::Text, QColor(0x0F, 0x23, 0x2B)},
    {QPalette::PlaceholderText, QColor(0x6B, 0x86, 0x8F)},
    {QPalette::Button, QColor(0x3C, 0x66, 0x75)},
    {QPalette::ButtonText, QColor(0xF2, 0xFB, 0xFB)},
    {QPalette::BrightText, QColor(0xFF, 0xFF, 0xFF)},
    {QPalette::Light, QColor(0x5E, 0x8C, 0x9B)},
    {QPalette::Midlight, QColor(0x4B, 0x79, 0x88)},
    {QPalette::Mid, QColor(0x2A, 0x47, 0x53)},
    {QPalette::Dark, QColor(0x1C, 0x33, 0x3C)},
    {QPalette::Shadow, QColor(0x0D, 0x1A, 0x1F)},
    {QPalette::Highlight, QColor(0x00, 0xA3, 0xB4)},
    {QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF)},
    {QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1)},
    {QPalette::ToolTipText, QColor(0x00, 0x00, 0x00)},
    {QPalette::Link, QColor(0x7F, 0xE3, 0xEE)},
};

}  // namespace

CyanDuskStyle::CyanDuskStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

QPalette CyanDuskStyle::standardPalette() const {
    QPalette palette;
    for (const Role& r : kRoles) palette.setColor(r.role, r.color);
    const QColor disabledText(0x8A, 0xA5, 0xAE);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(0xD5, 0xE3, 0xE6));
    return palette;
}

void CyanDuskStyle::polish(QPalette& palette) { palette = standardPalette(); }

int CyanDuskStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QColor CyanDuskPanelColor() { return QColor(0x00, 0x80, 0x80); }

void ApplyCyanDusk() {
    auto* style = new CyanDuskStyle;  // owned by the application
    QApplication::setStyle(style);
    QApplication::setPalette(style->standardPalette());
}

}  // namespace qnvr
