// A picture box showing a stored vector drawing stretched to its size.
#pragma once

#include <QWidget>

class QSvgRenderer;

namespace resheat::ui {

class ImageBox : public QWidget {
    Q_OBJECT
public:
    ImageBox(const QString &resource, QWidget *parent);
    // False when the drawing could not be read.
    bool isValid() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer *renderer_;
};

} // namespace resheat::ui
