#include "shell/QRCode.h"
#include "platform/Tela.h"
#include "shell/Donativo.h"
#include "shell/Principal.h"
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <qrencode.h>

namespace {
QString campo(const char* id, const QString& valor) {
    return QLatin1String(id) + QStringLiteral("%1").arg(valor.size(), 2, 10, QLatin1Char('0')) + valor;
}

// CRC-16/CCITT-FALSE, the check code that closes the payment text.
quint16 crc16(const QByteArray& dados) {
    quint16 crc = 0xFFFF;
    for (char c : dados) {
        crc ^= quint16(quint8(c)) << 8;
        for (int i = 0; i < 8; ++i) crc = (crc & 0x8000) ? quint16((crc << 1) ^ 0x1021) : quint16(crc << 1);
    }
    return crc;
}
}  // namespace

QString QRCode::Texto_Pagamento() {
    // ".invalid" is a reserved name: no payment key can ever be it.
    const QString conta = campo("00", QStringLiteral("br.gov.bcb.pix")) +
                          campo("01", QStringLiteral("doacao@exemplo.invalid"));
    QString t = campo("00", QStringLiteral("01")) + campo("26", conta) + campo("52", QStringLiteral("0000")) +
                campo("53", QStringLiteral("986")) + campo("58", QStringLiteral("BR")) +
                campo("59", QStringLiteral("EXEMPLO FICTICIO")) + campo("60", QStringLiteral("NENHURES")) +
                campo("62", campo("05", QStringLiteral("***"))) + QStringLiteral("6304");
    return t + QStringLiteral("%1").arg(crc16(t.toLatin1()), 4, 16, QLatin1Char('0')).toUpper();
}

QPixmap QRCode::Figura(int lado) {
    const QByteArray texto = Texto_Pagamento().toLatin1();
    // Shown on a screen, never worn: the lowest correction level keeps the
    // modules large enough for a phone camera in the small window.
    QRcode* qr = QRcode_encodeString8bit(texto.constData(), 0, QR_ECLEVEL_L);
    if (!qr) return {};
    const int margem = 4;
    const int total = qr->width + 2 * margem;
    const int modulo = std::max(1, lado / total);
    QImage img(total * modulo, total * modulo, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (int y = 0; y < qr->width; ++y)
        for (int x = 0; x < qr->width; ++x)
            if (qr->data[y * qr->width + x] & 1)
                p.fillRect((x + margem) * modulo, (y + margem) * modulo, modulo, modulo, Qt::black);
    p.end();
    QRcode_free(qr);
    return QPixmap::fromImage(img);
}

QRCode::QRCode() : Form(QStringLiteral("QRCode"), true) {
    setCaption(QString());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Image1 = new Image(this);
    Image1->setCursor(Qt::PointingHandCursor);
    layout->addWidget(Image1);
    setTamanhoCliente(2400, 2385);
    Image1->setPicture(Figura(std::min(Twips::ParaPixelX(2400), Twips::ParaPixelY(2385))));
    Image1->Click = [this] { Image1_Click(); };
}

void QRCode::Form_Load() {
    if (Form* p = Principal::Atual()) Acompanha(*this, *p);
}

void QRCode::Acompanha(Form& janela, const Form& principal) {
    janela.setLeft(principal.Width() - 3100);
    janela.setTop(principal.Height() - 3700);
}

void QRCode::Form_Click() { Form::Instancia<Donativo>()->Show(); }
void QRCode::Image1_Click() { Form_Click(); }

void QRCode::mouseReleaseEvent(QMouseEvent* e) {
    Form::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton) Dispara([this] { Form_Click(); });
}
