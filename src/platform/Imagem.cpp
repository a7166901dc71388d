#include "Imagem.h"
#include <QMouseEvent>

Image::Image(QWidget* pai) : QLabel(pai) { setAlignment(Qt::AlignCenter); }

void Image::setPicture(const QPixmap& figura) { setPixmap(figura); }

void Image::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Dispara(Click);
}
