// The style of owner-drawn popups: for an owner-drawn entry it asks the owner window for the
// size (WM_MEASUREITEM with a MEASUREITEMSTRUCT) and has the owner paint it (WM_DRAWITEM with a
// DRAWITEMSTRUCT and a device context whose origin is the popup's client area). Such popups
// have no panel and no margins, so their size is exactly what the owner answers (no room for a
// check mark is added to the answered width unless the popup asks for it; the owner's numbers
// are the popup's). Everything else goes to the application's style.
#pragma once

#include <QProxyStyle>

namespace host {

class OwnerDrawMenuStyle : public QProxyStyle {
public:
    // The one instance, owned by the application object.
    static OwnerDrawMenuStyle* instance();

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;

private:
    OwnerDrawMenuStyle() = default;
};

} // namespace host
