// A small list of equally sized images: the inline images of text boxes,
// the legend samples and the optional tick and arrow images of the axes.
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPixmap>

class QPainter;

class VxChartImageList : public QObject
{
    Q_OBJECT
public:
    explicit VxChartImageList(QObject *parent = nullptr);

    // Image size of the list; changing it empties the list.
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetSize(int width, int height);

    // With masking on, images added with a mask colour draw that colour as
    // transparent.
    bool Masked() const { return m_masked; }
    void SetMasked(bool masked) { m_masked = masked; }

    // Background drawn behind the images; invalid (the default) draws none.
    QColor BkColor() const { return m_bkColor; }
    void SetBkColor(const QColor &c) { m_bkColor = c; }

    int Count() const { return int(m_images.size()); }
    void Clear();

    // Adds an image and returns its index.  The image is scaled to the list
    // size when the list has one (width and height above 0); an empty list
    // size is taken from the first image.  maskColor is made transparent when
    // masking is on.
    int Add(const QImage &image, const QColor &maskColor = QColor());

    // The stored picture, null for an index outside the list.
    QPixmap Image(int index) const;

    // Draws image index with its top-left corner at (x, y); an index outside
    // the list draws nothing.
    void Draw(QPainter &p, int x, int y, int index) const;

signals:
    void Changed();

private:
    int m_width = 16;
    int m_height = 16;
    bool m_masked = true;
    QColor m_bkColor;
    QList<QPixmap> m_images;
};
