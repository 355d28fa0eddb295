#include "ui/ImageBox.h"

#include <QPainter>
#include <QSvgRenderer>

namespace resheat::ui {

ImageBox::ImageBox(const QString &resource, QWidget *parent)
    : QWidget(parent), renderer_(new QSvgRenderer(resource, this))
{
}

bool ImageBox::isValid() const
{
    return renderer_->isValid();
}

void ImageBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_->render(&painter, rect());
}

} // namespace resheat::ui
