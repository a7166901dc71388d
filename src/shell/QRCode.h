#pragma once
// The small window near the main window's bottom-right corner with the
// donation QR code; a click on it opens the donation appeal.
#include "platform/Form.h"
#include "platform/Imagem.h"
#include <QPixmap>

class QRCode : public Form {
    Q_OBJECT
public:
    QRCode();
    Image* Image1 = nullptr;

    void Form_Load() override;
    // The window's place by the main window's bottom-right corner.
    static void Acompanha(Form& janela, const Form& principal);
    void Form_Click();
    void Image1_Click();

    // The payment text the code carries: the instant-payment format with an
    // invented key, name and city that belong to no one.
    static QString Texto_Pagamento();
    // The code drawn black on white with its quiet zone, at most lado pixels
    // wide, each module a whole number of pixels.
    static QPixmap Figura(int lado);

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};
