#include "chart/VxChartImageList.h"

#include <QBitmap>
#include <QPainter>

VxChartImageList::VxChartImageList(QObject *parent) : QObject(parent) {}

void VxChartImageList::SetSize(int width, int height)
{
    width = qMax(0, width);
    height = qMax(0, height);
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    m_images.clear();
    emit Changed();
}

void VxChartImageList::Clear()
{
    if (m_images.isEmpty())
        return;
    m_images.clear();
    emit Changed();
}

int VxChartImageList::Add(const QImage &image, const QColor &maskColor)
{
    if (m_images.isEmpty() && (m_width <= 0 || m_height <= 0)) {
        m_width = image.width();
        m_height = image.height();
    }
    QImage img = image;
    if (!img.isNull() && m_width > 0 && m_height > 0 && img.size() != QSize(m_width, m_height))
        img = img.scaled(m_width, m_height);
    QPixmap pm = QPixmap::fromImage(img);
    if (m_masked && maskColor.isValid() && !pm.isNull())
        pm.setMask(pm.createMaskFromColor(maskColor, Qt::MaskInColor));
    m_images.append(pm);
    emit Changed();
    return int(m_images.size()) - 1;
}

QPixmap VxChartImageList::Image(int index) const
{
    if (index < 0 || index >= m_images.size())
        return QPixmap();
    return m_images.at(index);
}

void VxChartImageList::Draw(QPainter &p, int x, int y, int index) const
{
    if (index < 0 || index >= m_images.size())
        return;
    const QPixmap &pm = m_images.at(index);
    if (m_bkColor.isValid())
        p.fillRect(QRect(x, y, pm.width(), pm.height()), m_bkColor);
    p.drawPixmap(x, y, pm);
}
