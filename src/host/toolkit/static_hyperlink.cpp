#include "host/toolkit/static_hyperlink.h"

#include "host/toolkit/clickable_label.h"
#include "host/toolkit/colors.h"
#include "host/toolkit/event_boundary.h"
#include "host/toolkit/hyperlink.h"
#include "host/toolkit/window_internal.h"

namespace host {

StaticHyperlink::StaticHyperlink(Window& parent) : StaticHyperlink(&widgetOf(parent)) {}

StaticHyperlink::StaticHyperlink(QWidget* parent)
    : Control(new ClickableLabel(parent)), // NOLINT(cppcoreguidelines-owning-memory): Qt parent
      label_(static_cast<ClickableLabel*>(widget()))
{
    // Top-aligned, as a static text: the line keeps its place whatever the control's height.
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setCursor(Qt::PointingHandCursor);
    underline();
    setTextColor(kColorLink);
    QObject::connect(label_, &ClickableLabel::clicked, context(),
                     [this] { raiseEvent([this] { openHyperlink(url_); }); });
}

void StaticHyperlink::fontChanged()
{
    underline();
}

void StaticHyperlink::underline()
{
    QFont underlined = label_->font();
    underlined.setUnderline(true);
    label_->setFont(underlined);
}

int StaticHyperlink::shownHeight(int pixels) const
{
    return wholeLineHeight(*label_, pixels);
}

void StaticHyperlink::setText(const std::string& text)
{
    label_->setText(QString::fromStdString(text));
    applyGeometry();
}

std::string StaticHyperlink::text() const
{
    return label_->text().toStdString();
}

void StaticHyperlink::setUrl(const std::string& url)
{
    url_ = url;
}

} // namespace host
