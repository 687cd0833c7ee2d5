#include "host/toolkit/picture_hyperlink.h"

#include "host/toolkit/clickable_label.h"
#include "host/toolkit/event_boundary.h"
#include "host/toolkit/hyperlink.h"
#include "host/toolkit/layout_units.h"
#include "host/toolkit/pictures.h"
#include "host/toolkit/window_internal.h"

#include <QPixmap>
#include <algorithm>

namespace host {

PictureHyperlink::PictureHyperlink(Window& parent) : PictureHyperlink(&widgetOf(parent)) {}

PictureHyperlink::PictureHyperlink(QWidget* parent)
    : Control(new ClickableLabel(parent)), // NOLINT(cppcoreguidelines-owning-memory): Qt parent
      label_(static_cast<ClickableLabel*>(widget()))
{
    label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label_->setCursor(Qt::PointingHandCursor);
    label_->setFocusPolicy(Qt::NoFocus);
    QObject::connect(label_, &ClickableLabel::clicked, context(),
                     [this] { raiseEvent([this] { openHyperlink(url_); }); });
}

void PictureHyperlink::setPictureName(const std::string& name)
{
    label_->setPixmap(picturePixmap(name));
}

int PictureHyperlink::pictureLeft() const
{
    const int picture = label_->pixmap().deviceIndependentSize().toSize().width();
    return pixelsToUnitsX(std::max(0, unitsToPixelsX(width()) - picture));
}

void PictureHyperlink::setToolTip(const std::string& text)
{
    label_->setToolTip(QString::fromStdString(text));
    // A picture has no text of its own: assistive technology names it as its tooltip does.
    label_->setAccessibleName(QString::fromStdString(text));
}

void PictureHyperlink::setUrl(const std::string& url)
{
    url_ = url;
}

} // namespace host
