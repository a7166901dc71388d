#pragma once
// A password box whose masking character is given as the forms gave it, in
// the symbol font's letters: "J" shows a smiling face, "L" a frowning one
// (Linux has no such font; the faces come from Unicode). Any other
// character masks as itself.
#include "Controles.h"

class QProxyStyle;

class CaixaSenha : public TextBox {
    Q_OBJECT
public:
    explicit CaixaSenha(QWidget* pai = nullptr);
    QString PasswordChar() const { return mascara_; }
    void setPasswordChar(const QString& c);

    // The character drawn for a masking letter of the symbol font.
    static QChar Desenho(const QString& mascara);

private:
    QString mascara_;
    QProxyStyle* estilo_ = nullptr;
};
