#include "host/toolkit/static_text.h"

#include "host/toolkit/clickable_label.h"
#include "host/toolkit/event_boundary.h"
#include "host/toolkit/window_internal.h"

namespace host {

StaticText::StaticText(Window& parent) : StaticText(&widgetOf(parent)) {}

StaticText::StaticText(QWidget* parent)
    : Control(new ClickableLabel(parent)), // NOLINT(cppcoreguidelines-owning-memory): Qt parent
      label_(static_cast<ClickableLabel*>(widget()))
{
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QObject::connect(label_, &ClickableLabel::clicked, context(), [this] {
        if (clicked_) {
            raiseEvent(clicked_);
        }
    });
}

int StaticText::shownHeight(int pixels) const
{
    return wholeLineHeight(*label_, pixels);
}

void StaticText::setText(const std::string& text)
{
    label_->setText(QString::fromStdString(text));
    applyGeometry();
}

std::string StaticText::text() const
{
    return label_->text().toStdString();
}

void StaticText::onClicked(std::function<void()> handler)
{
    clicked_ = std::move(handler);
}

} // namespace host
