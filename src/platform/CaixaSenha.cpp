#include "CaixaSenha.h"
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QProxyStyle>

namespace {
// Answers the masking character of one box; the rest is the application's
// style.
class EstiloMascara : public QProxyStyle {
public:
    explicit EstiloMascara(CaixaSenha* caixa) : QProxyStyle(), caixa_(caixa) {}
    int styleHint(StyleHint dica, const QStyleOption* opcao, const QWidget* w, QStyleHintReturn* r) const override {
        if (dica == SH_LineEdit_PasswordCharacter && caixa_)
            return CaixaSenha::Desenho(caixa_->PasswordChar()).unicode();
        // Never the typed letter itself, not even for a moment.
        if (dica == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(dica, opcao, w, r);
    }

private:
    QPointer<CaixaSenha> caixa_;
};
}  // namespace

QChar CaixaSenha::Desenho(const QString& mascara) {
    if (mascara == QLatin1String("J")) return QChar(0x263A);  // ☺
    if (mascara == QLatin1String("L")) return QChar(0x2639);  // ☹
    return mascara.isEmpty() ? QChar(0x25CF) : mascara.at(0);
}

CaixaSenha::CaixaSenha(QWidget* pai) : TextBox(pai), mascara_(QStringLiteral("J")) {
    estilo_ = new EstiloMascara(this);
    estilo_->setParent(this);
    setStyle(estilo_);
    setEchoMode(QLineEdit::Password);
}

void CaixaSenha::setPasswordChar(const QString& c) {
    if (c == mascara_) return;
    mascara_ = c;
    // The line edit reads its masking character when its style changes.
    QEvent mudou(QEvent::StyleChange);
    QApplication::sendEvent(this, &mudou);
}
