#pragma once
// A picture control: shows a picture and reports a click on it.
#include "Controles.h"
#include <QLabel>

class Image : public QLabel {
    Q_OBJECT
public:
    explicit Image(QWidget* pai = nullptr);
    void setPicture(const QPixmap& figura);
    Evento Click;  // mouse button released over the picture

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};
